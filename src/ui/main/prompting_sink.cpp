#include "ui/main/prompting_sink.h"

#include <cstdio>

void PromptingSink::reportWithReason(const QString &text, MessageSeverity severity,
                                     const QString &reason)
{
    lastText = text;
    lastReason = reason;
    if (toStandardError_ && toStandardError_()) {
        const QString line = reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
        std::fprintf(stderr, "%s\n", qPrintable(line));
        std::fflush(stderr);
        return;
    }
    const MessageIcon icon =
        severity == MessageSeverity::Critical ? MessageIcon::Critical : MessageIcon::Exclamation;
    if (reason.isEmpty())
        prompter_.showMessage(text, icon);
    else
        prompter_.showMessageWithReason(text, icon, reason);
}
