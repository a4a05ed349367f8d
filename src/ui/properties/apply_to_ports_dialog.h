#pragma once

#include "image/image_state.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QPushButton;

// "Apply to Other Ports": copies both words of the port shown on the port page (`sourcePort`,
// a user port index) to every port the user ticks. The copy lands in portWords only; the
// properties dialog's OK commits it.
class ApplyToPortsDialog : public QDialog
{
    Q_OBJECT

public:
    ApplyToPortsDialog(ImageState &state, int sourcePort, QWidget *parent = nullptr);

    QGroupBox *targetFrame = nullptr;
    std::array<QCheckBox *, kUserPortCount> portBoxes{}; // user ports 1..32
    QPushButton *okButton = nullptr;                     // OK
    QPushButton *cancelButton = nullptr;                 // Cancel

private:
    void updateOk();
    void copySettings();

    ImageState &state_;
    const int sourcePort_;
};
