#pragma once

#include <QString>

class QWidget;

// Title of every message box of the program.
inline const char *const kDialogTitle = "Device Configuration";

enum class MessageIcon { None, Information, Exclamation, Critical };

// Message boxes and Yes/No questions, so that windows never block a test on a modal box.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // A box with an OK button. An empty title leaves the toolkit's default title.
    virtual void showMessage(const QString &text, MessageIcon icon,
                             const QString &title = QString::fromLatin1(kDialogTitle)) = 0;
    // A Yes/No box with the exclamation icon and the program's title; true for Yes. Every
    // question's Yes gives something up, so No is the default button (Enter answers No).
    // `consequence`, when given, says below the question what Yes removes.
    virtual bool askYesNo(const QString &text, const QString &consequence = QString()) = 0;
    // A box that keeps the system's text and gives the reason behind it below (why a port did
    // not open, say); without a reason, a plain message.
    virtual void showMessageWithReason(const QString &text, MessageIcon icon, const QString &reason)
    {
        Q_UNUSED(reason);
        showMessage(text, icon);
    }
};

// The real thing: modal QMessageBox over `parent`.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void showMessage(const QString &text, MessageIcon icon, const QString &title) override;
    bool askYesNo(const QString &text, const QString &consequence) override;
    void showMessageWithReason(const QString &text, MessageIcon icon,
                               const QString &reason) override;

private:
    QWidget *parent_;
};
