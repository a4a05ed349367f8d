#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

struct OkCancel {
    QPushButton *ok;
    QPushButton *cancel;
};

// "OK" and "Cancel" at the bottom right of a dialog's layout, named Command<okNumber> and
// Command<cancelNumber> as the dialog numbers its buttons. Enter presses neither, so that it
// never confirms a dialog by accident. The caller connects them.
OkCancel addOkCancel(QDialog &dialog, QBoxLayout &layout, int okNumber, int cancelNumber);
