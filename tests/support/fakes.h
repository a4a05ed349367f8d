#pragma once

#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/prompter.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <deque>
#include <functional>

// A message box or question as a window showed it.
struct Prompt {
    QString text;
    MessageIcon icon;
    QString title;
    bool question;
};

// Records every box; answers questions from a script (Yes when the script runs dry).
class RecordingPrompter : public Prompter
{
public:
    void showMessage(const QString &text, MessageIcon icon, const QString &title) override;
    bool askYesNo(const QString &text, const QString &title) override;

    QList<Prompt> prompts;
    std::deque<bool> answers;
    // Runs while a box is "shown": lets a test look at the windows in that moment.
    std::function<void(const Prompt &)> onPrompt;

    QStringList texts() const;
    void clear() { prompts.clear(); }
};

// Hands out scripted paths; an empty path stands for a cancelled dialog.
class ScriptedFileChooser : public FileChooser
{
public:
    QString chooseOpenPath(const QString &filter) override;
    QString chooseSavePath(const QString &filter) override;

    std::deque<QString> openPaths;
    std::deque<QString> savePaths;
    QStringList filters;
};

// Instead of exec(): runs the next scripted action on the dialog (for example: tick boxes, press
// OK) and returns the dialog's result. With no action left the dialog is rejected.
class ScriptedDialogRunner : public DialogRunner
{
public:
    using Action = std::function<void(QDialog &)>;
    int run(QDialog &dialog) override;

    std::deque<Action> actions;
    int runs = 0;
};
