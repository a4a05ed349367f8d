#pragma once

#include "image/module1.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The "Port" page of the properties dialog: one port at a time, picked with the port buttons.
// Every change of a control, by the user or by a decode, runs that control's rule and writes
// through to the port's words in Module1::PortWords at once.
class PortPage : public QWidget
{
    Q_OBJECT

public:
    explicit PortPage(Module1 &module, QWidget *parent = nullptr);

    // Shows the words of `chipPort` by setting the controls one after another; each change runs
    // its rule, so a decode may rewrite the words of the port being shown.
    void ParseSetting(int chipPort);
    // The user port index of the first selected port button, none when no button is selected.
    std::optional<int> SearchOption() const;

    std::array<QRadioButton *, kUserPortCount> Option1{}; // user ports 1..32
    QLabel *Label1 = nullptr;                             // "Port Selection"
    QLabel *Label2 = nullptr;                             // "Configuration of Port N"
    QCheckBox *Check1 = nullptr;                          // Security
    QCheckBox *Check2 = nullptr;                          // Address Learning
    QCheckBox *Check3 = nullptr;                          // Broadcast Storm Control
    QCheckBox *Check4 = nullptr;                          // Full Duplex Flow Control
    QCheckBox *Check5 = nullptr;                          // Auto-Negotiation
    QWidget *Frame2 = nullptr;        // enabled while rate and duplex are chosen by hand
    QGroupBox *Frame3 = nullptr;      // "Data Rate"
    QGroupBox *Frame4 = nullptr;      // "Duplex Mode"
    QRadioButton *Option33 = nullptr; // 10Mbps
    QRadioButton *Option34 = nullptr; // 100Mbps
    QRadioButton *Option35 = nullptr; // Half Duplex
    QRadioButton *Option36 = nullptr; // Full Duplex
    QPushButton *Command2 = nullptr;  // "Apply to other ports..."

private:
    void buildControls();
    void connectRules();

    void portSelected(int userIndex);
    void securityToggled(bool on);
    void learningToggled(bool on);
    void stormControlToggled(bool on);
    void flowControlToggled(bool on);
    void autoNegotiationToggled(bool on);
    void rateOrDuplexSelected(QRadioButton *button);

    void setRateDuplexEnabled(bool enabled);
    void clearRateDuplex();

    // The words of the port whose button is selected (port 1 when none is).
    int shownChipPort() const;
    quint16 &firstWord();
    quint16 &secondWord();

    Module1 &module_;
};
