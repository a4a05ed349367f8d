#include "console_reporter.h"

#include "console_output.h"

#include <QByteArray>

ConsoleReporter::ConsoleReporter(std::FILE *stream, bool drawProgress)
    : stream_(stream), drawProgress_(drawProgress)
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
    if (!drawProgress_)
        return;
    if (!state.visible) {
        finishBarLine();
        return;
    }
    // Every redraw has the same width, so nothing of the one before is left over.
    write('\r' + progressBar(state.value));
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
