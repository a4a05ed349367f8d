#pragma once

#include "image/image_state.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "support/fakes.h"
#include "ui/main/main_window.h"

// A main window on a fresh ImageState with recording seams and the real COM ports, as main() would
// build it; with preferences and the serial devices found when a test gives them.
struct MainWindowHarness {
    explicit MainWindowHarness(Preferences *preferences = nullptr,
                               SerialDeviceCatalogue devices = {})
        : window(state, UiServices{prompter, files, dialogs, preferences},
                 SwitchAccess{deviceLineFactory(), clock, std::move(devices)})
    {
    }

    ImageState state;
    RecordingPrompter prompter;
    ScriptedFileChooser files;
    ScriptedDialogRunner dialogs;
    EventLoopClock clock;
    MainWindow window;
};
