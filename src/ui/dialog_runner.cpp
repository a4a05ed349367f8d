#include "ui/dialog_runner.h"

#include <QDialog>

int ModalDialogRunner::run(QDialog &dialog)
{
    // Centred on the window that opened it.
    if (QWidget *parent = dialog.parentWidget()) {
        dialog.adjustSize();
        dialog.move(parent->window()->frameGeometry().center() - dialog.rect().center());
    }
    return dialog.exec();
}
