#include "ui/dialog_runner.h"

#include <QDialog>

int ModalDialogRunner::run(QDialog &dialog)
{
    return dialog.exec();
}
