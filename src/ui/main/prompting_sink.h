#pragma once

#include "link/switch_session.h"
#include "ui/prompter.h"

// The switch commands' messages, as message boxes; the last one is kept for the status line.
class PromptingSink : public SessionMessageSink
{
public:
    explicit PromptingSink(Prompter &prompter) : prompter_(prompter) {}
    void report(const QString &text, MessageSeverity severity) override
    {
        lastText = text;
        prompter_.showMessage(text, iconFor(severity));
    }
    void reportWithReason(const QString &text, MessageSeverity severity,
                          const QString &reason) override
    {
        lastText = text;
        prompter_.showMessageWithReason(text, iconFor(severity), reason);
    }

    QString lastText;

private:
    static MessageIcon iconFor(MessageSeverity severity)
    {
        return severity == MessageSeverity::Critical ? MessageIcon::Critical
                                                     : MessageIcon::Exclamation;
    }

    Prompter &prompter_;
};
