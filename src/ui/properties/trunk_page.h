#pragma once

#include "config/trunk/trunk_board.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

// The " Trunk Assignment" page: the load-balancing method, the port-based trunks (tab 0) and the
// MAC-address-based trunks (tab 1). The page draws a TrunkBoard: every change of a control, by
// the user or by code, goes to the board, whose rules decide, and the page then shows the board.
class TrunkPage : public QWidget
{
    Q_OBJECT

public:
    explicit TrunkPage(TrunkPageHost &host, QWidget *parent = nullptr);

    TrunkBoard &board() { return board_; }
    const TrunkPageState &state() const { return board_.state(); }
    // Puts the board's state on the controls (after the board was changed directly).
    void showState();

    QGroupBox *methodFrame = nullptr;        // "Load Balancing Method"
    QRadioButton *macBasedOption = nullptr;  // "MAC Address Based"
    QRadioButton *portBasedOption = nullptr; // "Port Based"
    QTabWidget *methodTabs = nullptr;

    // Port-based trunks 1..8: trunk boxes, member boxes, mapping buttons and status labels.
    QGroupBox *portTrunkFrame = nullptr;
    QGroupBox *mappingFrame = nullptr;
    std::array<QCheckBox *, TrunkLayout::kTrunks> portTrunkBoxes{};
    std::array<std::array<QCheckBox *, 4>, TrunkLayout::kTrunks> memberBoxes{};
    std::array<QPushButton *, TrunkLayout::kTrunks> mappingButtons{};
    std::array<QLabel *, TrunkLayout::kTrunks> mappingLabels{};

    // MAC-address-based trunks 1..8 and the hash method.
    QGroupBox *macTrunkFrame = nullptr;
    std::array<QCheckBox *, TrunkLayout::kTrunks> macTrunkBoxes{};
    std::array<std::array<QCheckBox *, 8>, TrunkLayout::kTrunks> macPortBoxes{};
    QLabel *hashHeading = nullptr; // "Load Balancing Mapping"
    QLabel *hashLabel = nullptr;   // "MAC Address Based"
    QComboBox *hashMethodList = nullptr;

signals:
    // A port-based trunk's mapping button was pressed (trunk 0..7).
    void mappingRequested(int trunk);

private:
    QWidget *buildMethodFrame();
    QWidget *buildPortBasedTab();
    QWidget *buildMacBasedTab();
    void connectRules();
    // Runs a change on the board, then shows the result.
    template <typename Change> void change(Change &&apply);

    TrunkBoard board_;
    bool showing_ = false;
};
