#include "console_reporter.h"

#include <QByteArray>

#include <algorithm>

namespace
{
constexpr int kBarWidth = 40;
} // namespace

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
    const int value = std::clamp(state.value, 0, 100);
    const int filled = value * kBarWidth / 100;
    // Every redraw has the same width, so nothing of the one before is left over.
    const QByteArray bar = "\r[" + QByteArray(filled, '#') + QByteArray(kBarWidth - filled, '.') +
                           "] " + QByteArray::number(value).rightJustified(3, ' ') + '%';
    write(bar);
    barOnLine_ = true;
}

ProgressCallback ConsoleReporter::progressCallback()
{
    return [this](const ProgressState &state) { showProgress(state); };
}

void ConsoleReporter::write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream_);
    std::fflush(stream_);
}

void ConsoleReporter::finishBarLine()
{
    if (!barOnLine_)
        return;
    write("\n");
    barOnLine_ = false;
}
