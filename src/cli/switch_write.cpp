#include "switch_write.h"

#include "cli_texts.h"
#include "command_files.h"
#include "config/switch_configuration.h"
#include "config_document.h"
#include "config_report.h"
#include "image/image_state.h"

namespace
{

ExitStatus fileProblem(const CommandServices &services, const QString &message)
{
    services.messages.report(message, MessageSeverity::Critical);
    return ExitStatus::FileProblem;
}

} // namespace

ChangePlan::ChangePlan(const CliOptions &options, const WriteTarget &target,
                       const CommandServices &services, ImageState &state, WriteReport &report)
    : options_(options), target_(target), services_(services), state_(state), report_(report)
{
}

bool ChangePlan::operator()(const ImageWords &onSwitch)
{
    if (!options_.backupPath.isEmpty()) {
        if (const auto error =
                CommandFiles::save(options_.backupPath, onSwitch, options_.model, {}))
            return holdBack(fileProblem(services_, *error));
        report_.backedUp = true;
    }
    if (target_.document) {
        OpenedConfiguration opened(onSwitch, options_.model);
        const ConfigDocument::Applied applied =
            ConfigDocument::apply(*target_.document, opened.settings());
        if (!applied.config)
            return holdBack(
                fileProblem(services_, CliTexts::documentRefused(target_.name, applied.refusal.path,
                                                                 applied.refusal.reason)));
        // As apply does: a document that changes nothing leaves every word as it is.
        state_.eepromImage =
            *applied.config == opened.settings() ? onSwitch : opened.encode(*applied.config);
    }
    report_.wordsDiffering =
        int(ConfigReport::wordChanges(onSwitch, state_.eepromImage, options_.model).size());
    if (options_.dryRun)
        return holdBack(ExitStatus::Done);
    return true;
}

bool ChangePlan::holdBack(ExitStatus status)
{
    heldBack_ = status;
    return false;
}

std::optional<WriteTarget> loadWriteTarget(const CliOptions &options,
                                           const CommandServices &services)
{
    WriteTarget target;
    if (options.configPath.isEmpty()) {
        const CommandFiles::Loaded loaded =
            CommandFiles::load(options.filePath, options.model, services.input);
        if (!loaded.image) {
            fileProblem(services, loaded.error);
            return std::nullopt;
        }
        target.name = CommandFiles::inputName(options.filePath);
        target.image = *loaded.image;
        return target;
    }
    target.document = CommandFiles::readDocument(options.configPath, services);
    if (!target.document)
        return std::nullopt;
    target.name = CommandFiles::inputName(options.configPath);
    if (const auto refusal = ConfigDocument::checkForm(*target.document, options.model)) {
        fileProblem(services,
                    CliTexts::documentRefused(target.name, refusal->path, refusal->reason));
        return std::nullopt;
    }
    return target;
}
