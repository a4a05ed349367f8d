#include "image/image_state.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/main/main_window.h"
#include "ui/prompter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("swcfg"));

    ImageState state;
    MessageBoxPrompter prompter;
    DialogFileChooser files;
    ModalDialogRunner dialogs;
    EventLoopClock clock;
    MainWindow window(state, UiServices{prompter, files, dialogs},
                      SwitchAccess{comPortLineFactory(), clock});
    prompter.setParent(&window);
    files.setParent(&window);
    window.show();
    return app.exec();
}
