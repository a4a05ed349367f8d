#include "transfer_summary.h"

#include "cli_texts.h"
#include "image/device_models.h"
#include "switch_write.h"

#include <QElapsedTimer>

ExitStatus timedTransfer(const CliOptions &options, const CommandServices &services)
{
    QElapsedTimer timer;
    timer.start();
    const bool reads = options.command == CliCommand::Read;
    WriteReport report;
    const ExitStatus status =
        reads ? runRead(options, services) : runWrite(options, services, report);
    if (status != ExitStatus::Done || !services.reportDuration || (!reads && !report.restarted))
        return status;
    const qint64 elapsed = timer.elapsed();
    // Not a warning: the sink has no milder kind, and the console shows every kind alike.
    services.messages.report(reads ? CliTexts::readDone(deviceCountOf(options.model), elapsed)
                                   : CliTexts::writeDone(options.changedOnly, elapsed),
                             MessageSeverity::Exclamation);
    return status;
}
