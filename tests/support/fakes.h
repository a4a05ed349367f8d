#pragma once

#include "link/switch_session.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/prompter.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <deque>
#include <functional>

// A message box or question as a window showed it.
struct Prompt {
    QString text;
    MessageIcon icon;
    QString title;
    QString reason = {}; // the informative text below the message
};

// Records every box; answers questions from a script (Yes when the script runs dry).
class RecordingPrompter : public Prompter
{
public:
    void showMessage(const QString &text, MessageIcon icon, const QString &title) override
    {
        prompts.append({text, icon, title});
        if (onPrompt)
            onPrompt(prompts.constLast());
    }
    void showMessageWithReason(const QString &text, MessageIcon icon,
                               const QString &reason) override
    {
        prompts.append({text, icon, QString::fromLatin1(kDialogTitle), reason});
        if (onPrompt)
            onPrompt(prompts.constLast());
    }
    bool askYesNo(const QString &text, const QString &consequence) override
    {
        prompts.append(
            {text, MessageIcon::Exclamation, QString::fromLatin1(kDialogTitle), consequence});
        if (onPrompt)
            onPrompt(prompts.constLast());
        const bool answer = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    QStringList texts() const
    {
        QStringList all;
        for (const Prompt &prompt : prompts)
            all << prompt.text;
        return all;
    }

    QList<Prompt> prompts;
    std::deque<bool> answers;
    // Runs while a box is "shown": lets a test look at the windows in that moment.
    std::function<void(const Prompt &)> onPrompt;
};

// Hands out the scripted paths in turn, to Open and Save alike; none left stands for a cancelled
// dialog.
class ScriptedFileChooser : public FileChooser
{
public:
    QString chooseOpenPath(const QString &, const QString &folder) override { return next(folder); }
    QString chooseSavePath(const QString &, const QString &folder) override { return next(folder); }
    QString next(const QString &folder)
    {
        folders << folder;
        const QString path = paths.empty() ? QString() : paths.front();
        if (!paths.empty())
            paths.pop_front();
        return path;
    }

    std::deque<QString> paths;
    QStringList folders; // where each dialog started
};

// Instead of exec(): runs the next scripted action on the dialog (for example: tick boxes, press
// OK) and returns the dialog's result. With no action left the dialog is rejected.
class ScriptedDialogRunner : public DialogRunner
{
public:
    using Action = std::function<void(QDialog &)>;
    int run(QDialog &dialog) override
    {
        ++runs;
        // Nothing else opens the dialog, so setting its result here stands for the modal loop.
        dialog.setResult(QDialog::Rejected);
        if (!actions.empty()) {
            const Action action = std::move(actions.front());
            actions.pop_front();
            action(dialog);
        }
        return dialog.result();
    }

    std::deque<Action> actions;
    int runs = 0;
};

// Records the texts a transfer reports.
struct RecordingSink : SessionMessageSink {
    void report(const QString &text, MessageSeverity) override { texts << text; }
    void reportWithReason(const QString &text, MessageSeverity, const QString &reason) override
    {
        texts << text;
        reasons << reason;
    }
    QStringList texts;
    QStringList reasons; // of the messages given with one
};
