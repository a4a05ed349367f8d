#include "eeprom_files.h"

#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/file_checks.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace EepromFiles
{

std::optional<ImageWords> read(const QString &path, int model, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const int size = BinFile::fileSizeFor(model);
    const QByteArray bytes = file.read(size);
    if (bytes.size() < size) {
        error = QStringLiteral("%1: %2(%3 bytes, the model needs %4)")
                    .arg(path, QString::fromLatin1(BinFile::kContentsError))
                    .arg(bytes.size())
                    .arg(size);
        return std::nullopt;
    }
    ImageWords image{};
    for (int d = 0; d < deviceCountOf(model); ++d) {
        for (int w = 0; w < kWordsPerDevice; ++w) {
            const int at = d * BinFile::kBlockBytes + 2 * w;
            image[d][w] = static_cast<quint16>(static_cast<quint8>(bytes[at]) << 8 |
                                               static_cast<quint8>(bytes[at + 1]));
        }
    }
    return image;
}

bool write(const QString &path, const ImageWords &image, int model, QString &error)
{
    if (const std::optional<QString> failure = BinFile::save(path, image, model)) {
        error = *failure;
        return false;
    }
    return true;
}

bool writeState(const QString &path, const ImageWords &image, int model, QString &error)
{
    if (const std::optional<QString> reason = notRegularFile(path)) {
        error = QStringLiteral("%1: %2").arg(path, *reason);
        return false;
    }
    // Replaced whole (a reader never sees half a file) but not flushed to the disk: the state is
    // saved after every word written, and a disk busy with other work can hold a flush for
    // seconds, longer than the tool waits for the word's answer.
    const QString temporary = path + QStringLiteral(".part");
    QFile file(temporary);
    const QByteArray bytes = BinFile::encode(image, model);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        error = QStringLiteral("%1: %2").arg(temporary, file.errorString());
        return false;
    }
    file.close();
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace EepromFiles
