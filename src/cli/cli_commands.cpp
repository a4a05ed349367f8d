#include "cli_commands.h"

#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/module1.h"
#include "link/qt_serial_line.h"

#include <QSaveFile>

namespace
{

// Whether the file can be written where it is asked for, before minutes of transfer are spent
// on an image that would then be lost. Leaves no trace on disk.
std::optional<QString> tryOutputPath(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return BinFile::saveErrorMessage(path, file.errorString());
    file.cancelWriting();
    return std::nullopt;
}

// A configuration as the window holds it with `model` selected.
Module1 moduleForModel(int model)
{
    Module1 module;
    module.Is32Port = model == Model32NWay;
    module.Is1000SX = model == Model24Sx;
    return module;
}

ExitStatus fileProblem(const CommandServices &services, const QString &message)
{
    services.messages.report(message, MessageSeverity::Critical);
    return ExitStatus::FileProblem;
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

    Module1 module = moduleForModel(options.model);
    const std::unique_ptr<SerialLine> line = services.makeLine(options.device);
    SwitchSession session(module, *line, services.clock, services.messages, services.progress);
    const SessionOutcome outcome = session.read(options.model);
    if (outcome != SessionOutcome::Done)
        return exitStatusFor(outcome);

    if (const auto error = BinFile::save(options.filePath, module.EepromImage, options.model))
        return fileProblem(services, *error);
    return ExitStatus::Done;
}

ExitStatus runWrite(const CliOptions &options, const CommandServices &services)
{
    const BinFile::Loaded loaded = BinFile::load(options.filePath, options.model, ImageWords{});
    if (!loaded.image)
        return fileProblem(services, loaded.error);

    // The state the window is in after Open with this model selected.
    Module1 module = moduleForModel(options.model);
    module.takeLoadedImage(*loaded.image);

    const std::unique_ptr<SerialLine> line = services.makeLine(options.device);
    SwitchSession session(module, *line, services.clock, services.messages, services.progress);
    return exitStatusFor(session.write(options.model));
}

ExitStatus runCommand(const CliOptions &options, const CommandServices &services)
{
    switch (options.command) {
    case CliCommand::Read:
        return runRead(options, services);
    case CliCommand::Write:
        return runWrite(options, services);
    }
    return ExitStatus::Usage;
}
