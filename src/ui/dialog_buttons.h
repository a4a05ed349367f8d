#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

struct OkCancel {
    QPushButton *ok;
    QPushButton *cancel;
};

// "OK" and "Cancel" at the bottom right of a dialog's layout, named okButton and cancelButton.
// Enter presses neither, so that it never confirms a dialog by accident. The caller connects them.
OkCancel addOkCancel(QDialog &dialog, QBoxLayout &layout);
