#include "port_console.h"

#include "console_output.h"

#include <algorithm>

namespace
{

// Enough for the eye; several ports report progress many times a second each.
constexpr qint64 kRedrawMs = 100;
const char kCursorUp[] = "\x1b[%1A";
const char kClearToEnd[] = "\x1b[J";

} // namespace

PortConsole::PortConsole(std::FILE *stream, std::optional<CommandProgress> progress,
                         QStringList labels)
    : stream_(stream), drawProgress_(progress.has_value()), labels_(std::move(labels))
{
    const auto ports = static_cast<std::size_t>(std::max<qsizetype>(labels_.size(), 1));
    if (progress)
        plans_.assign(ports, *progress);
    lines_.assign(ports, progressBar(0));
}

void PortConsole::message(int port, const QString &text, const QString &reason)
{
    eraseBars();
    const QString label = port < labels_.size() ? labels_.at(port) : QString();
    line(label, text);
    if (!reason.isEmpty())
        line(label, reason);
    drawBars();
}

void PortConsole::progress(int port, const ProgressState &state)
{
    if (!drawProgress_ || port < 0 || port >= static_cast<int>(plans_.size()) || !state.visible)
        return;
    const std::optional<QByteArray> line = plans_[static_cast<std::size_t>(port)].line(state);
    if (!line)
        return;
    lines_[static_cast<std::size_t>(port)] = *line;
    if (!barsShown_ || sinceDrawn_.hasExpired(kRedrawMs)) {
        eraseBars();
        drawBars();
    }
}

void PortConsole::note(const QString &text)
{
    eraseBars();
    write(text.toLocal8Bit() + (text.endsWith(QLatin1Char('\n')) ? "" : "\n"));
}

void PortConsole::finish()
{
    eraseBars();
    drawProgress_ = false;
}

void PortConsole::line(const QString &label, const QString &text)
{
    write((label.isEmpty() ? text : label + QStringLiteral(": ") + text).toLocal8Bit() + '\n');
}

void PortConsole::drawBars()
{
    if (!drawProgress_)
        return;
    int width = 0;
    for (const QString &label : qAsConst(labels_))
        width = std::max(width, static_cast<int>(label.size()));
    QByteArray bars;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const QString label =
            i < static_cast<std::size_t>(labels_.size()) ? labels_.at(int(i)) : "";
        bars +=
            label.leftJustified(width).toLocal8Bit() + (width > 0 ? " " : "") + lines_[i] + '\n';
    }
    write(bars);
    barsShown_ = true;
    sinceDrawn_.start();
}

void PortConsole::eraseBars()
{
    if (!barsShown_)
        return;
    write(QString::fromLatin1(kCursorUp).arg(lines_.size()).toLatin1() + '\r' + kClearToEnd);
    barsShown_ = false;
}

void PortConsole::write(const QByteArray &bytes)
{
    writeStream(stream_, bytes);
}
