#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

struct OkCancel {
    QPushButton *ok;
    QPushButton *cancel;
};

// "OK" and "Cancel" at the bottom right of a dialog's layout, named okButton and cancelButton.
// OK is the default button (Enter); Escape cancels. The caller connects them.
OkCancel addOkCancel(QDialog &dialog, QBoxLayout &layout);
