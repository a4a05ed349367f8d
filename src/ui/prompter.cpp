#include "ui/prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace
{

QMessageBox::Icon toBoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QWidget *ownerOr(QWidget *parent)
{
    // Boxes belong to the window the user is working in (a modal dialog when one is open).
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return parent;
}

} // namespace

void MessageBoxPrompter::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    QMessageBox box(toBoxIcon(icon),
                    title.isEmpty() ? QApplication::applicationDisplayName() : title, text,
                    QMessageBox::Ok, ownerOr(parent_));
    box.exec();
}

void MessageBoxPrompter::showMessageWithReason(const QString &text, MessageIcon icon,
                                               const QString &reason)
{
    QMessageBox box(toBoxIcon(icon), QString::fromLatin1(kDialogTitle), text, QMessageBox::Ok,
                    ownerOr(parent_));
    box.setInformativeText(reason);
    box.exec();
}

bool MessageBoxPrompter::askYesNo(const QString &text, const QString &consequence)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kDialogTitle), text,
                    QMessageBox::Yes | QMessageBox::No, ownerOr(parent_));
    box.setInformativeText(consequence);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
