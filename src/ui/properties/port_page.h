#pragma once

#include "config/port_board.h"
#include "image/image_state.h"

#include <QWidget>

#include <array>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The "Port" page of the properties dialog: one port at a time, picked with the port buttons.
// A view of a PortBoard: every change of a control, by the user or by code, goes to the board,
// whose rule writes through to the port's words in ImageState::portWords at once, and the page
// then shows the board's controls.
class PortPage : public QWidget
{
    Q_OBJECT

public:
    explicit PortPage(ImageState &state, QWidget *parent = nullptr);

    // The user port index of the first selected port button, none when no button is selected.
    std::optional<int> selectedPortIndex() const;

    std::array<QRadioButton *, kUserPortCount> portButtons{}; // user ports 1..32
    QLabel *portSelectionLabel = nullptr;                     // "Port Selection"
    QLabel *portHeading = nullptr;                            // "Configuration of Port N"
    QCheckBox *securityBox = nullptr;                         // Security
    QCheckBox *learningBox = nullptr;                         // Address Learning
    QCheckBox *stormControlBox = nullptr;                     // Broadcast Storm Control
    QCheckBox *flowControlBox = nullptr;                      // Full Duplex Flow Control
    QCheckBox *autoNegotiationBox = nullptr;                  // Auto-Negotiation
    QWidget *rateDuplexPanel = nullptr;       // enabled while rate and duplex are chosen by hand
    QGroupBox *rateFrame = nullptr;           // "Data Rate"
    QGroupBox *duplexFrame = nullptr;         // "Duplex Mode"
    QRadioButton *rate10Option = nullptr;     // 10Mbps
    QRadioButton *rate100Option = nullptr;    // 100Mbps
    QRadioButton *halfDuplexOption = nullptr; // Half Duplex
    QRadioButton *fullDuplexOption = nullptr; // Full Duplex
    QPushButton *applyButton = nullptr;       // "Apply to other ports..."

private:
    void buildControls();
    void connectRules();

    void portSelected(int userIndex);
    void rateOrDuplexSelected(QRadioButton *button);

    // The controls as the board has them; the changes made here run no rule.
    void showControls();

    PortBoard board_;
    bool showing_ = false;
};
