#include "image/module1.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/main/form1.h"
#include "ui/prompter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("swcfg"));

    Module1 module;
    MessageBoxPrompter prompter;
    DialogFileChooser files;
    ModalDialogRunner dialogs;
    Form1 window(module, UiServices{prompter, files, dialogs});
    prompter.setParent(&window);
    files.setParent(&window);
    window.show();
    return app.exec();
}
