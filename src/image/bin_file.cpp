#include "image/bin_file.h"

#include "image/device_models.h"
#include "image/file_checks.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace BinFile
{

int fileSizeFor(int model)
{
    return deviceCountOf(model) * kBlockBytes;
}

QByteArray encode(const ImageWords &image, int model)
{
    QByteArray bytes;
    bytes.reserve(fileSizeFor(model));
    for (int d = 0; d < deviceCountOf(model); ++d) {
        for (quint16 word : image[d]) {
            bytes.append(static_cast<char>(word >> 8));
            bytes.append(static_cast<char>(word & 0xFF));
        }
    }
    return bytes;
}

ImageWords decode(const QByteArray &bytes, int model, const ImageWords &base)
{
    ImageWords image = base;
    auto byteAt = [&bytes](int offset) -> quint16 {
        return offset < bytes.size() ? static_cast<quint8>(bytes[offset]) : 0;
    };
    for (int d = 0; d < deviceCountOf(model); ++d) {
        for (int w = 0; w < kWordsPerDevice; ++w) {
            const int offset = d * kBlockBytes + 2 * w;
            image[d][w] = static_cast<quint16>(byteAt(offset) << 8 | byteAt(offset + 1));
        }
    }
    for (auto &device : image)
        device[0] &= 0x7FFF;
    return image;
}

Verdict check(const ImageWords &image, int model)
{
    // The base switch's chips, devices 0..2, carry the signature; a module does not have to.
    for (int d = 0; d < std::min(deviceCountOf(model), 3); ++d) {
        if ((image[d][0] & kSignatureMask) != kSignature)
            return Verdict::ContentsError;
    }
    if (image[0][kModelWord] != deviceModelInfo(model).modelWord)
        return Verdict::WrongModel;
    return Verdict::Accepted;
}

QString verdictMessage(Verdict verdict, int model)
{
    switch (verdict) {
    case Verdict::ContentsError:
        return QString::fromLatin1(kContentsError);
    case Verdict::WrongModel:
        return deviceModelInfo(model).wrongFileMessage;
    case Verdict::Accepted:
        break;
    }
    return {};
}

Read readFile(const QString &path, qint64 limit)
{
    if (const std::optional<QString> reason = notRegularFile(path))
        return {std::nullopt, openErrorMessage(path, *reason)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, openErrorMessage(path, file.errorString())};
    const QByteArray bytes = file.read(limit);
    if (bytes.isNull() && file.error() != QFileDevice::NoError)
        return {std::nullopt, openErrorMessage(path, file.errorString())};
    return {bytes, QString()};
}

std::optional<int> modelNamedIn(const QByteArray &bytes)
{
    const int at = 2 * kModelWord;
    if (bytes.size() < at + 2)
        return std::nullopt;
    return modelForWord(quint16(quint8(bytes[at]) << 8 | quint8(bytes[at + 1])));
}

Loaded load(const QString &path, int model, const ImageWords &base)
{
    const Read read = readFile(path, fileSizeFor(model));
    if (!read.bytes)
        return {std::nullopt, read.error};
    return fromBytes(*read.bytes, model, base);
}

Loaded fromBytes(const QByteArray &bytes, int model, const ImageWords &base)
{
    // The signature and the model word first: a whole file of another model is named as such,
    // however long the selected model's files are.
    const ImageWords image = decode(bytes, model, base);
    const Verdict verdict = check(image, model);
    if (verdict == Verdict::WrongModel)
        return {std::nullopt, verdictMessage(verdict, model), modelNamedIn(bytes)};
    if (verdict != Verdict::Accepted)
        return {std::nullopt, verdictMessage(verdict, model)};
    if (bytes.size() < fileSizeFor(model))
        return {std::nullopt, QString::fromLatin1(kContentsError)};
    return {image, QString()};
}

std::optional<QString> save(const QString &path, const ImageWords &image, int model)
{
    if (const std::optional<QString> reason = notRegularFile(path))
        return saveErrorMessage(path, *reason);
    QSaveFile file(path);
    // Unbuffered, so that a short write (a full disk) shows in write()'s count: a buffered
    // QSaveFile can lose it in the final flush and commit a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return saveErrorMessage(path, file.errorString());
    const QByteArray bytes = encode(image, model);
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return saveErrorMessage(path, reason);
    }
    takeOverAttributes(file.handle(), path);
    if (!file.commit())
        return saveErrorMessage(path, file.errorString());
    return std::nullopt;
}

QString openErrorMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("File Open Error !\n%1: %2").arg(path, reason);
}

QString saveErrorMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("File Save Error ! The file was not changed.\n%1: %2").arg(path, reason);
}

} // namespace BinFile
