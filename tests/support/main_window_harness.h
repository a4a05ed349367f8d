#pragma once

#include "image/module1.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "support/fakes.h"
#include "ui/main/form1.h"

// A main window on a fresh Module1 with recording seams and the real COM ports, as main() would
// build it.
struct MainWindowHarness {
    Module1 module;
    RecordingPrompter prompter;
    ScriptedFileChooser files;
    ScriptedDialogRunner dialogs;
    EventLoopClock clock;
    Form1 window{module, UiServices{prompter, files, dialogs},
                 SwitchAccess{comPortLineFactory(), clock}};
};
