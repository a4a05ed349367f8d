#include "image/module1.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
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
    EventLoopClock clock;
    Form1 window(module, UiServices{prompter, files, dialogs},
                 SwitchAccess{comPortLineFactory(), clock});
    prompter.setParent(&window);
    files.setParent(&window);
    window.show();
    return app.exec();
}
