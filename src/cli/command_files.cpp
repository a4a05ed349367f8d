#include "command_files.h"

#include "cli_texts.h"
#include "config_document.h"
#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/file_checks.h"
#include "json_text_checks.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace CommandFiles
{

namespace
{

// A document is a few kilobytes; anything far larger is the wrong file (or a device that never
// ends), not worth reading into memory.
constexpr qint64 kDocumentLimit = 1 << 20;

// The largest file of any model: enough to find the model word and check the file for it.
constexpr qint64 kLargestFile = 4 * BinFile::kBlockBytes;

Loaded refused(const QString &path, const QString &message)
{
    return {std::nullopt, 0, aboutFile(path, message)};
}

} // namespace

bool isStandardStream(const QString &path)
{
    return path == QLatin1String(kStandardStream);
}

QString aboutFile(const QString &path, const QString &message)
{
    // The window's file messages name the file on their second line, before the reason.
    for (const QString &unnamed :
         {BinFile::openErrorMessage(path, QString()), BinFile::saveErrorMessage(path, QString())}) {
        if (message.startsWith(unnamed)) {
            const QString head = unnamed.section(QLatin1Char('\n'), 0, 0);
            return path + QStringLiteral(": ") + head + QLatin1Char('\n') +
                   message.mid(unnamed.size());
        }
    }
    return path + QStringLiteral(": ") + message;
}

Loaded load(const QString &path, std::optional<int> model, const InputSource &input)
{
    // With the model given, only its blocks are read, as the window's Open does.
    const qint64 limit = model ? BinFile::fileSizeFor(*model) : kLargestFile;
    const BinFile::Read read = !isStandardStream(path) ? BinFile::readFile(path, limit)
                               : input                 ? BinFile::Read{input(limit), QString()}
                                                       : BinFile::Read{QByteArray(), QString()};
    const QString name = inputName(path);
    if (!read.bytes)
        return refused(name, read.error);
    const std::optional<int> named = model ? model : BinFile::modelNamedIn(*read.bytes);
    if (!named)
        return refused(name, QString::fromLatin1(BinFile::kContentsError));
    const BinFile::Loaded loaded = BinFile::fromBytes(*read.bytes, *named, ImageWords{});
    return loaded.image ? Loaded{loaded.image, *named, QString()} : refused(name, loaded.error);
}

std::optional<QString> tryOutput(const QString &path)
{
    if (isStandardStream(path))
        return std::nullopt;
    if (const std::optional<QString> reason = notRegularFile(path))
        return aboutFile(path, BinFile::saveErrorMessage(path, *reason));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return aboutFile(path, BinFile::saveErrorMessage(path, file.errorString()));
    file.cancelWriting();
    return std::nullopt;
}

std::optional<QString> save(const QString &path, const ImageWords &image, int model,
                            const OutputSink &output)
{
    if (isStandardStream(path)) {
        // A failure there is noted by the sink and ends the program with status 2.
        output(BinFile::encode(image, model));
        return std::nullopt;
    }
    if (const std::optional<QString> error = BinFile::save(path, image, model))
        return aboutFile(path, *error);
    return std::nullopt;
}

QString inputName(const QString &path)
{
    return isStandardStream(path) ? CliTexts::standardInput() : path;
}

std::optional<QJsonObject> readDocument(const QString &path, const CommandServices &services)
{
    const QString name = inputName(path);
    const auto refuse = [&services](const QString &message) {
        services.messages.report(message, MessageSeverity::Critical);
        return std::optional<QJsonObject>();
    };
    QByteArray text;
    if (isStandardStream(path)) {
        text = services.input ? services.input(kDocumentLimit + 1) : QByteArray();
    } else {
        // A document may come from a pipe (--config <(...), /dev/stdin): it is read to its end
        // or its limit, whatever the file is, but a folder.
        if (QFileInfo(path).isDir())
            return refuse(CliTexts::documentUnreadable(name, QStringLiteral("it is a folder")));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return refuse(CliTexts::documentUnreadable(name, file.errorString()));
        text = file.read(kDocumentLimit + 1);
        if (file.error() != QFileDevice::NoError)
            return refuse(CliTexts::documentUnreadable(name, file.errorString()));
    }
    if (text.size() > kDocumentLimit)
        return refuse(CliTexts::documentTooLarge(name, kDocumentLimit));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = text.left(error.offset);
        const int line = int(before.count('\n')) + 1;
        const int column = int(before.size() - before.lastIndexOf('\n'));
        return refuse(CliTexts::documentNotJson(name, line, column, error.errorString()));
    }
    if (!document.isObject())
        return refuse(CliTexts::documentNotObject(name));
    if (const std::optional<ConfigDocument::Refusal> problem = JsonTextChecks::firstProblem(text))
        return refuse(CliTexts::documentRefused(name, problem->path, problem->reason));
    return document.object();
}

std::optional<int> documentModel(const QJsonObject &document)
{
    const QJsonValue name = document.value(QLatin1String("model"));
    for (int model = 0; model < kModelCount; ++model) {
        if (name == ConfigDocument::modelName(model))
            return model;
    }
    return std::nullopt;
}

} // namespace CommandFiles
