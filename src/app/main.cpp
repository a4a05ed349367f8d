#include "image/image_state.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/main/main_window.h"
#include "ui/preferences.h"
#include "ui/prompter.h"
#include "ui/stop_signal_watch.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Answered before the window system is reached, so that they work without a display too.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("swcfg %s\n", SWCFG_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs("Usage: swcfg [--help | --version] [Qt options]\n"
                       "Opens the window that reads, edits and writes the EEPROM configuration\n"
                       "of a switch over RS-232. SWCFG_COM1 to SWCFG_COM8 name the device of\n"
                       "ports 1. COM1 to 8. COM8; a port named so is selected at start\n"
                       "('man swcfg' says more).\n",
                       stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("swcfg"));
    QApplication::setOrganizationName(QStringLiteral("swcfg"));
    // A logout, a closed terminal or kill: a transfer stops between two words and the port is
    // closed normally before the program ends.
    StopSignalWatch stopSignals;

    ImageState state;
    MessageBoxPrompter prompter;
    DialogFileChooser files;
    ModalDialogRunner dialogs;
    EventLoopClock clock;
    Preferences preferences;
    MainWindow window(state, UiServices{prompter, files, dialogs, &preferences},
                      SwitchAccess{deviceLineFactory(), clock, systemSerialDevices()});
    prompter.setParent(&window);
    files.setParent(&window);
    window.takeStopSignals(stopSignals);
    // Ended by a signal, the program says so as a shell would: 128 + the signal.
    int signalStatus = 0;
    QObject::connect(&window, &MainWindow::quitRequested, [&signalStatus](int status) {
        signalStatus = status;
        QCoreApplication::exit(status);
    });
    window.show();
    const int status = app.exec();
    return signalStatus != 0 ? signalStatus : status;
}
