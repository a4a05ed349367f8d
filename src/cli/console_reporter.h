#pragma once

#include "link/link_progress.h"
#include "link/switch_session.h"

#include <cstdio>

// swcfgctl's standard error: the messages, one a line, and on a terminal a progress bar redrawn
// in place while a transfer runs.
class ConsoleReporter : public SessionMessageSink
{
public:
    ConsoleReporter(std::FILE *stream, bool drawProgress);

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
    bool drawProgress_;
    bool barOnLine_ = false;
};
