#include "ui/prompter.h"

#include "ui/title_bar.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

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

// A box is as wide as its text needs, which may cut a longer title short ("Device ... uration");
// it is made wide enough for the title in the bold font of a title bar, with its buttons.
int showWholeTitle(QMessageBox &box)
{
    const int width = titleBarWidth(box.font(), box.windowTitle());
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box.exec();
}

} // namespace

void MessageBoxPrompter::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    QMessageBox box(toBoxIcon(icon),
                    title.isEmpty() ? QApplication::applicationDisplayName() : title, text,
                    QMessageBox::Ok, ownerOr(parent_));
    showWholeTitle(box);
}

void MessageBoxPrompter::showMessageWithReason(const QString &text, MessageIcon icon,
                                               const QString &reason)
{
    QMessageBox box(toBoxIcon(icon), QString::fromLatin1(kDialogTitle), text, QMessageBox::Ok,
                    ownerOr(parent_));
    box.setInformativeText(reason);
    showWholeTitle(box);
}

bool MessageBoxPrompter::askYesNo(const QString &text, const QString &consequence)
{
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kDialogTitle), text,
                    QMessageBox::Yes | QMessageBox::No, ownerOr(parent_));
    box.setInformativeText(consequence);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return showWholeTitle(box) == QMessageBox::Yes;
}
