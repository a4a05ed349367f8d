#pragma once

#include "command_progress.h"
#include "link/link_progress.h"
#include "link/switch_session.h"

#include <cstdio>
#include <optional>

// swcfgctl's standard error: the messages, one a line, and on a terminal one progress line for
// the whole command, redrawn in place while it runs.
class ConsoleReporter : public SessionMessageSink
{
public:
    // `progress`: how the command's phases make up its bar; none: no bar is drawn.
    ConsoleReporter(std::FILE *stream, std::optional<CommandProgress> progress);

    void report(const QString &text, MessageSeverity severity) override;
    // The reason goes on the line after the message.
    void reportWithReason(const QString &text, MessageSeverity severity,
                          const QString &reason) override;
    void showProgress(const ProgressState &state);
    ProgressCallback progressCallback();

private:
    void write(const QByteArray &bytes);
    void finishBarLine();

    std::FILE *stream_;
    std::optional<CommandProgress> progress_;
    QByteArray drawn_; // the progress line last drawn
    bool barOnLine_ = false;
};
