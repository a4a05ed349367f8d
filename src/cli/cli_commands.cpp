#include "cli_commands.h"

#include "cli_texts.h"
#include "command_files.h"
#include "config/switch_configuration.h"
#include "config_document.h"
#include "config_report.h"
#include "image/device_models.h"
#include "image/factory_image.h"
#include "image/image_state.h"
#include "ports_command.h"
#include "stop_signals.h"
#include "switch_write.h"
#include "transfer_summary.h"

namespace
{

// A configuration as the window holds it with `model` selected.
ImageState moduleForModel(int model)
{
    ImageState state;
    state.setModel(model);
    return state;
}

int stopSignalOf(const CommandServices &services)
{
    return services.stopSignal ? services.stopSignal() : 0;
}

void takeStopRequests(SwitchSession &session, const CommandServices &services)
{
    session.setStopRequest([&services] { return stopSignalOf(services) != 0; });
}

// Says what the switch holds after a stop, and ends as a shell reports the signal.
ExitStatus stopped(const CommandServices &services, const QString &what)
{
    const int signal = stopSignalOf(services);
    services.messages.report(CliTexts::stoppedBy(StopSignals::name(signal)) + what,
                             MessageSeverity::Exclamation);
    return ExitStatus(int(ExitStatus::StoppedBySignal) + signal);
}

ExitStatus fileProblem(const CommandServices &services, const QString &message)
{
    services.messages.report(message, MessageSeverity::Critical);
    return ExitStatus::FileProblem;
}

std::optional<int> modelGiven(const CliOptions &options)
{
    return options.modelFromFile ? std::nullopt : std::optional<int>(options.model);
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
    case SessionOutcome::Stopped:
        return ExitStatus::TransferFailed;
    }
    return ExitStatus::TransferFailed;
}

ExitStatus runRead(const CliOptions &options, const CommandServices &services)
{
    if (const auto error = CommandFiles::tryOutput(options.filePath))
        return fileProblem(services, *error);

    ImageState state = moduleForModel(options.model);
    const std::unique_ptr<SerialLine> line = services.makeLine(options.device, services.clock);
    SwitchSession session(state, *line, services.clock, services.messages, services.progress);
    takeStopRequests(session, services);
    const SessionOutcome outcome = session.read(options.model);
    if (outcome == SessionOutcome::Stopped)
        return stopped(services, CliTexts::readStopped(options.filePath));
    if (outcome != SessionOutcome::Done)
        return exitStatusFor(outcome);

    if (const auto error =
            CommandFiles::save(options.filePath, state.eepromImage, options.model, services.output))
        return fileProblem(services, *error);
    return ExitStatus::Done;
}

ExitStatus runWrite(const CliOptions &options, const CommandServices &services, WriteReport &report)
{
    const std::optional<WriteTarget> target = loadWriteTarget(options, services);
    if (!target)
        return ExitStatus::FileProblem;
    return writeSwitch(options, *target, services, report);
}

ExitStatus writeSwitch(const CliOptions &options, const WriteTarget &target,
                       const CommandServices &services, WriteReport &report)
{
    if (!options.backupPath.isEmpty()) {
        if (const auto error = CommandFiles::tryOutput(options.backupPath))
            return fileProblem(services, *error);
    }
    // The state the window is in after Open with this model selected.
    ImageState state = moduleForModel(options.model);
    state.takeLoadedImage(target.image);

    const std::unique_ptr<SerialLine> line = services.makeLine(options.device, services.clock);
    SwitchSession session(state, *line, services.clock, services.messages, services.progress);
    takeStopRequests(session, services);
    ChangePlan plan(options, target, services, state, report);
    const SessionOutcome outcome = options.changedOnly
                                       ? session.writeChanges(options.model, std::ref(plan))
                                       : session.write(options.model);
    report.wordsWritten = session.link().wordsSent();
    if (outcome == SessionOutcome::Stopped)
        return stopped(services, CliTexts::writeStopped(session.link().wordsSent(),
                                                        session.link().wordsToSend()));
    const std::optional<ExitStatus> heldBack = plan.heldBack();
    if (heldBack && *heldBack != ExitStatus::Done)
        return *heldBack;
    // Nothing written and no reset: said even when a successful write says nothing else.
    if (outcome == SessionOutcome::Done && (heldBack || report.wordsDiffering == 0)) {
        services.messages.report(report.wordsDiffering == 0
                                     ? CliTexts::alreadyHolds(target.name)
                                     : CliTexts::wouldWrite(target.name, *report.wordsDiffering),
                                 MessageSeverity::Exclamation);
        return ExitStatus::Done;
    }
    report.restarted = outcome == SessionOutcome::Done;
    return exitStatusFor(outcome);
}

ExitStatus runShow(const CliOptions &options, const CommandServices &services)
{
    const CommandFiles::Loaded loaded =
        CommandFiles::load(options.filePath, modelGiven(options), services.input);
    if (!loaded.image)
        return fileProblem(services, loaded.error);
    const OpenedConfiguration opened(*loaded.image, loaded.model);
    services.output(
        options.json ? ConfigDocument::toText(ConfigDocument::fromConfiguration(opened.settings()))
                     : ConfigReport::describe(opened.settings(), *loaded.image).toUtf8());
    return ExitStatus::Done;
}

ExitStatus runApply(const CliOptions &options, const CommandServices &services)
{
    const std::optional<QJsonObject> document =
        CommandFiles::readDocument(options.configPath, services);
    if (!document)
        return ExitStatus::FileProblem;
    const QString documentName = CommandFiles::inputName(options.configPath);
    const std::optional<int> model =
        options.modelFromFile ? CommandFiles::documentModel(*document) : options.model;
    if (!model)
        return fileProblem(services,
                           CliTexts::documentRefused(documentName, QStringLiteral("model"),
                                                     CliTexts::documentWithoutModel()));
    ImageWords input = factoryImage(*model);
    if (!options.inputPath.isEmpty()) {
        const CommandFiles::Loaded loaded =
            CommandFiles::load(options.inputPath, *model, services.input);
        if (!loaded.image)
            return fileProblem(services, loaded.error);
        input = *loaded.image;
    }

    OpenedConfiguration opened(input, *model);
    const ConfigDocument::Applied applied = ConfigDocument::apply(*document, opened.settings());
    if (!applied.config)
        return fileProblem(services, CliTexts::documentRefused(documentName, applied.refusal.path,
                                                               applied.refusal.reason));
    // A document that changes nothing gives the input back word for word, even where the dialog's
    // OK would tidy words no setting shows.
    const ImageWords &image =
        *applied.config == opened.settings() ? input : opened.encode(*applied.config);
    if (const auto error = CommandFiles::save(options.filePath, image, *model, services.output))
        return fileProblem(services, *error);
    return ExitStatus::Done;
}

ExitStatus runDiff(const CliOptions &options, const CommandServices &services)
{
    const CommandFiles::Loaded before =
        CommandFiles::load(options.filePath, modelGiven(options), services.input);
    if (!before.image)
        return fileProblem(services, before.error);
    // Without --model, B.bin must be of A.bin's model.
    const CommandFiles::Loaded after =
        CommandFiles::load(options.otherPath, before.model, services.input);
    if (!after.image)
        return fileProblem(services, after.error);

    const int model = before.model;
    const auto document = [model](const ImageWords &image) {
        return ConfigDocument::fromConfiguration(OpenedConfiguration(image, model).settings());
    };
    const auto settings =
        ConfigReport::settingChanges(document(*before.image), document(*after.image));
    const auto words = ConfigReport::wordChanges(*before.image, *after.image, model);
    if (options.json)
        services.output(ConfigDocument::toText(ConfigReport::diffJson(settings, words)));
    else
        services.output(ConfigReport::diffText(settings, words).toUtf8());
    return settings.empty() && words.empty() ? ExitStatus::Done : ExitStatus::Different;
}

ExitStatus runCommand(const CliOptions &given, const CommandServices &services)
{
    const CliOptions options = withListedDevices(given, services.serialDevices);
    switch (options.command) {
    case CliCommand::Read:
    case CliCommand::Write:
        return timedTransfer(options, services);
    case CliCommand::Show:
        return runShow(options, services);
    case CliCommand::Apply:
        return runApply(options, services);
    case CliCommand::Diff:
        return runDiff(options, services);
    case CliCommand::Ports:
        return runPorts(options, services);
    }
    return ExitStatus::Usage;
}
