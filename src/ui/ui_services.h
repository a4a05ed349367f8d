#pragma once

class Prompter;
class FileChooser;
class DialogRunner;
class Preferences;

// The seams a window needs besides ImageState; handed down from main() or from a test.
struct UiServices {
    Prompter &prompter;
    FileChooser &files;
    DialogRunner &dialogs;
    Preferences *preferences = nullptr; // nothing is remembered without
};
