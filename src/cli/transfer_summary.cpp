#include "transfer_summary.h"

#include "cli_texts.h"
#include "image/device_models.h"

#include <QElapsedTimer>

ExitStatus timedTransfer(ExitStatus (*run)(const CliOptions &, const CommandServices &),
                         const CliOptions &options, const CommandServices &services)
{
    QElapsedTimer timer;
    timer.start();
    const ExitStatus status = run(options, services);
    if (status != ExitStatus::Done || !services.reportDuration)
        return status;
    const qint64 elapsed = timer.elapsed();
    // Not a warning: the sink has no milder kind, and the console shows every kind alike.
    services.messages.report(options.command == CliCommand::Read
                                 ? CliTexts::readDone(deviceCountOf(options.model), elapsed)
                                 : CliTexts::writeDone(options.changedOnly, elapsed),
                             MessageSeverity::Exclamation);
    return status;
}
