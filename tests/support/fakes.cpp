#include "support/fakes.h"

void RecordingPrompter::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    prompts.append({text, icon, title, false});
    if (onPrompt)
        onPrompt(prompts.constLast());
}

bool RecordingPrompter::askYesNo(const QString &text, const QString &title)
{
    prompts.append({text, MessageIcon::Exclamation, title, true});
    if (onPrompt)
        onPrompt(prompts.constLast());
    if (answers.empty())
        return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList RecordingPrompter::texts() const
{
    QStringList all;
    for (const Prompt &prompt : prompts)
        all << prompt.text;
    return all;
}

namespace
{
QString takeFront(std::deque<QString> &paths)
{
    if (paths.empty())
        return QString();
    QString path = paths.front();
    paths.pop_front();
    return path;
}
} // namespace

QString ScriptedFileChooser::chooseOpenPath(const QString &filter)
{
    filters << filter;
    return takeFront(openPaths);
}

QString ScriptedFileChooser::chooseSavePath(const QString &filter)
{
    filters << filter;
    return takeFront(savePaths);
}

int ScriptedDialogRunner::run(QDialog &dialog)
{
    ++runs;
    if (actions.empty()) {
        dialog.reject();
        return dialog.result();
    }
    Action action = std::move(actions.front());
    actions.pop_front();
    // Nothing else opens the dialog, so setting its result here stands for the modal loop.
    dialog.setResult(QDialog::Rejected);
    action(dialog);
    return dialog.result();
}
