#pragma once

#include "image/module1.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QPushButton;

// "Apply to Other Ports": copies both words of the port shown on the port page
// (Module1::ApplySourcePort) to every port the user ticks. The copy lands in PortWords only; the
// properties dialog's OK commits it.
class Form3 : public QDialog
{
    Q_OBJECT

public:
    Form3(Module1 &module, QWidget *parent = nullptr);

    QGroupBox *Frame1 = nullptr;
    std::array<QCheckBox *, kUserPortCount> Check2{}; // user ports 1..32
    QPushButton *Command1 = nullptr;                  // OK
    QPushButton *Command2 = nullptr;                  // Cancel

private:
    void updateOk();
    void copySettings();

    Module1 &module_;
};
