#pragma once

#include "image/module1.h"
#include "support/fakes.h"
#include "ui/main/form1.h"

// A main window on a fresh Module1 with recording seams, as main() would build it.
struct MainWindowHarness {
    Module1 module;
    RecordingPrompter prompter;
    ScriptedFileChooser files;
    ScriptedDialogRunner dialogs;
    Form1 window{module, UiServices{prompter, files, dialogs}};
};
