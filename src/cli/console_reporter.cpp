#include "console_reporter.h"

#include "console_output.h"

#include <QByteArray>

ConsoleReporter::ConsoleReporter(std::FILE *stream, std::optional<CommandProgress> progress)
    : stream_(stream), progress_(std::move(progress))
{
}

void ConsoleReporter::report(const QString &text, MessageSeverity)
{
    // A message never lands in the middle of a bar.
    finishBarLine();
    write(text.toLocal8Bit() + '\n');
}

void ConsoleReporter::reportWithReason(const QString &text, MessageSeverity severity,
                                       const QString &reason)
{
    report(text, severity);
    if (!reason.isEmpty())
        write(reason.toLocal8Bit() + '\n');
}

void ConsoleReporter::showProgress(const ProgressState &state)
{
    // Between two phases the line stays as it is.
    if (!progress_ || !state.visible)
        return;
    const std::optional<QByteArray> line = progress_->line(state);
    if (!line || (barOnLine_ && *line == drawn_))
        return;
    // As wide as the line before at least, so that nothing of it is left over.
    write('\r' + line->leftJustified(barOnLine_ ? drawn_.size() : 0));
    drawn_ = *line;
    barOnLine_ = true;
}

ProgressCallback ConsoleReporter::progressCallback()
{
    return [this](const ProgressState &state) { showProgress(state); };
}

void ConsoleReporter::write(const QByteArray &bytes)
{
    writeStream(stream_, bytes);
}

void ConsoleReporter::finishBarLine()
{
    if (!barOnLine_)
        return;
    write("\n");
    barOnLine_ = false;
}
