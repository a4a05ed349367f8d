#pragma once

#include "image/module1.h"
#include "link/link_clock.h"
#include "support/fakes.h"
#include "support/scripted_serial_line.h"
#include "ui/main/form1.h"

#include <functional>
#include <memory>

// A main window on a fresh Module1 with recording seams, as main() would build it.
struct MainWindowHarness {
    Module1 module;
    RecordingPrompter prompter;
    ScriptedFileChooser files;
    ScriptedDialogRunner dialogs;
    // The line the window opens for COM port n: a silent peer unless a test points it elsewhere.
    std::function<std::unique_ptr<SerialLine>(int portNumber)> lineFor = [](int) {
        return std::make_unique<ScriptedSerialLine>();
    };
    EventLoopClock clock;
    Form1 window{module, UiServices{prompter, files, dialogs},
                 SwitchAccess{[this](int portNumber) { return lineFor(portNumber); }, clock}};
};
