#include "console_output.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

namespace
{
constexpr int kBarWidth = 40;
} // namespace

int writeStream(std::FILE *stream, const QByteArray &bytes)
{
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream) ==
            static_cast<std::size_t>(bytes.size()) &&
        std::fflush(stream) == 0)
        return 0;
    return errno != 0 ? errno : EIO;
}

QByteArray readStandardInput(qint64 limit)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return QByteArray();
    return input.read(limit);
}

QByteArray progressBar(int value)
{
    const int shown = std::clamp(value, 0, 100);
    const int filled = shown * kBarWidth / 100;
    return '[' + QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '.') + ']';
}
