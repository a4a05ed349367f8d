#pragma once

#include "link/switch_session.h"
#include "ui/prompter.h"

#include <functional>

// The switch commands' messages, as message boxes, each with what it is about below it where the
// window knows more than the message says; the last one is kept for the status line. Once
// `toStandardError` says so (the program is being ended by a signal and nobody is there to
// press OK), messages go to standard error instead.
class PromptingSink : public SessionMessageSink
{
public:
    using Explanation = std::function<QString(const QString &text)>;
    using Condition = std::function<bool()>;

    PromptingSink(Prompter &prompter, Explanation explain, Condition toStandardError)
        : prompter_(prompter), explain_(std::move(explain)),
          toStandardError_(std::move(toStandardError))
    {
    }
    void report(const QString &text, MessageSeverity severity) override
    {
        reportWithReason(text, severity, explain_(text));
    }
    void reportWithReason(const QString &text, MessageSeverity severity,
                          const QString &reason) override;

    QString lastText;
    QString lastReason;

private:
    Prompter &prompter_;
    Explanation explain_;
    Condition toStandardError_;
};
