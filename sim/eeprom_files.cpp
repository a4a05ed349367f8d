#include "eeprom_files.h"

#include "image/bin_file.h"
#include "image/device_models.h"

#include <QFile>

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

} // namespace EepromFiles
