#include "cli_commands.h"

#include "cli_texts.h"
#include "config/switch_configuration.h"
#include "config_document.h"
#include "config_report.h"
#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/factory_image.h"
#include "image/file_checks.h"
#include "image/image_state.h"
#include "link/qt_serial_line.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace
{

// Whether the file can be written where it is asked for, before minutes of transfer are spent
// on an image that would then be lost. Leaves no trace on disk.
std::optional<QString> tryOutputPath(const QString &path)
{
    if (const std::optional<QString> reason = notRegularFile(path))
        return BinFile::saveErrorMessage(path, *reason);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return BinFile::saveErrorMessage(path, file.errorString());
    file.cancelWriting();
    return std::nullopt;
}

// A configuration as the window holds it with `model` selected.
ImageState moduleForModel(int model)
{
    ImageState state;
    state.is32Port = model == Model32NWay;
    state.is1000Sx = model == Model24Sx;
    return state;
}

ExitStatus fileProblem(const CommandServices &services, const QString &message)
{
    services.messages.report(message, MessageSeverity::Critical);
    return ExitStatus::FileProblem;
}

// A document is a few kilobytes; anything far larger is the wrong file (or a device that never
// ends), not worth reading into memory.
constexpr qint64 kDocumentLimit = 1 << 20;

std::optional<QJsonObject> readDocument(const QString &path, const CommandServices &services)
{
    const auto refuse = [&services](const QString &message) {
        services.messages.report(message, MessageSeverity::Critical);
        return std::optional<QJsonObject>();
    };
    if (const std::optional<QString> reason = notRegularFile(path))
        return refuse(CliTexts::documentUnreadable(path, *reason));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(CliTexts::documentUnreadable(path, file.errorString()));
    const QByteArray text = file.read(kDocumentLimit + 1);
    if (text.size() > kDocumentLimit)
        return refuse(CliTexts::documentTooLarge(path, kDocumentLimit));
    if (file.error() != QFileDevice::NoError)
        return refuse(CliTexts::documentUnreadable(path, file.errorString()));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = text.left(error.offset);
        const int line = int(before.count('\n')) + 1;
        const int column = int(before.size() - before.lastIndexOf('\n'));
        return refuse(CliTexts::documentNotJson(path, line, column, error.errorString()));
    }
    if (!document.isObject())
        return refuse(CliTexts::documentNotObject(path));
    return document.object();
}

} // namespace

ExitStatus exitStatusFor(SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Done:
        return ExitStatus::Done;
    case SessionOutcome::PortNotOpened:
    case SessionOutcome::NoAnswer:
    case SessionOutcome::DevicesNotReady:
    case SessionOutcome::DeviceMissing:
    case SessionOutcome::ModuleMismatch:
        return ExitStatus::SwitchUnavailable;
    case SessionOutcome::EepromReadFailed:
    case SessionOutcome::VerifyFailed:
    case SessionOutcome::NotRestarted:
        return ExitStatus::TransferFailed;
    }
    return ExitStatus::TransferFailed;
}

DeviceLineFactory serialDeviceLineFactory()
{
    return [](const QString &device) -> std::unique_ptr<SerialLine> {
        return std::make_unique<QtSerialLine>(device);
    };
}

ExitStatus runRead(const CliOptions &options, const CommandServices &services)
{
    if (const auto error = tryOutputPath(options.filePath))
        return fileProblem(services, *error);

    ImageState state = moduleForModel(options.model);
    const std::unique_ptr<SerialLine> line = services.makeLine(options.device);
    SwitchSession session(state, *line, services.clock, services.messages, services.progress);
    const SessionOutcome outcome = session.read(options.model);
    if (outcome != SessionOutcome::Done)
        return exitStatusFor(outcome);

    if (const auto error = BinFile::save(options.filePath, state.eepromImage, options.model))
        return fileProblem(services, *error);
    return ExitStatus::Done;
}

ExitStatus runWrite(const CliOptions &options, const CommandServices &services)
{
    const BinFile::Loaded loaded = BinFile::load(options.filePath, options.model, ImageWords{});
    if (!loaded.image)
        return fileProblem(services, loaded.error);
    return writeImage(options, *loaded.image, services);
}

ExitStatus writeImage(const CliOptions &options, const ImageWords &image,
                      const CommandServices &services)
{
    // The state the window is in after Open with this model selected.
    ImageState state = moduleForModel(options.model);
    state.takeLoadedImage(image);

    const std::unique_ptr<SerialLine> line = services.makeLine(options.device);
    SwitchSession session(state, *line, services.clock, services.messages, services.progress);
    return exitStatusFor(options.changedOnly ? session.writeChanges(options.model)
                                             : session.write(options.model));
}

ExitStatus runShow(const CliOptions &options, const CommandServices &services)
{
    const BinFile::Loaded loaded = BinFile::load(options.filePath, options.model, ImageWords{});
    if (!loaded.image)
        return fileProblem(services, loaded.error);
    const OpenedConfiguration opened(*loaded.image, options.model);
    services.output(
        options.json ? ConfigDocument::toText(ConfigDocument::fromConfiguration(opened.settings()))
                     : ConfigReport::describe(opened.settings(), *loaded.image).toUtf8());
    return ExitStatus::Done;
}

ExitStatus runApply(const CliOptions &options, const CommandServices &services)
{
    ImageWords input = factoryImage(options.model);
    if (!options.inputPath.isEmpty()) {
        const BinFile::Loaded loaded =
            BinFile::load(options.inputPath, options.model, ImageWords{});
        if (!loaded.image)
            return fileProblem(services, loaded.error);
        input = *loaded.image;
    }
    const std::optional<QJsonObject> document = readDocument(options.configPath, services);
    if (!document)
        return ExitStatus::FileProblem;

    OpenedConfiguration opened(input, options.model);
    const ConfigDocument::Applied applied = ConfigDocument::apply(*document, opened.settings());
    if (!applied.config)
        return fileProblem(services,
                           CliTexts::documentRefused(options.configPath, applied.refusal.path,
                                                     applied.refusal.reason));
    // A document that changes nothing gives the input back word for word, even where the dialog's
    // OK would tidy words no setting shows.
    const ImageWords &image =
        *applied.config == opened.settings() ? input : opened.encode(*applied.config);
    if (const auto error = BinFile::save(options.filePath, image, options.model))
        return fileProblem(services, *error);
    return ExitStatus::Done;
}

ExitStatus runDiff(const CliOptions &options, const CommandServices &services)
{
    const BinFile::Loaded before = BinFile::load(options.filePath, options.model, ImageWords{});
    if (!before.image)
        return fileProblem(services, before.error);
    const BinFile::Loaded after = BinFile::load(options.otherPath, options.model, ImageWords{});
    if (!after.image)
        return fileProblem(services, after.error);

    const auto document = [&options](const ImageWords &image) {
        return ConfigDocument::fromConfiguration(
            OpenedConfiguration(image, options.model).settings());
    };
    const auto settings =
        ConfigReport::settingChanges(document(*before.image), document(*after.image));
    const auto words = ConfigReport::wordChanges(*before.image, *after.image, options.model);
    if (options.json)
        services.output(ConfigDocument::toText(ConfigReport::diffJson(settings, words)));
    else
        services.output(ConfigReport::diffText(settings, words).toUtf8());
    return settings.empty() && words.empty() ? ExitStatus::Done : ExitStatus::Different;
}

ExitStatus runCommand(const CliOptions &options, const CommandServices &services)
{
    switch (options.command) {
    case CliCommand::Read:
        return runRead(options, services);
    case CliCommand::Write:
        return runWrite(options, services);
    case CliCommand::Show:
        return runShow(options, services);
    case CliCommand::Apply:
        return runApply(options, services);
    case CliCommand::Diff:
        return runDiff(options, services);
    }
    return ExitStatus::Usage;
}
