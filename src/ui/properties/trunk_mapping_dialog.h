#pragma once

#include "config/trunk/trunk_layout.h"

#include <QDialog>

#include <array>
#include <vector>

class ImageState;
class Prompter;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

// What the mapping dialog tells the properties dialog that opened it.
class MappingHost
{
public:
    virtual ~MappingHost() = default;
    // A complete mapping of `trunk` (0..7) was confirmed.
    virtual void mappingConfirmed(int trunk) = 0;
};

// The mapping of a port-based trunk: for every port of the switch, the member through which it
// sends to the trunk. Four tabs of eight ports; option j of a tab is row j / 4 (a port) and
// column j % 4 (a member); each row holds one choice. OK takes the choices into
// ImageState::portTrunkMapping and is refused until every port of the model has one.
class TrunkMappingDialog : public QDialog
{
    Q_OBJECT

public:
    // The mapping of port-based trunk `trunk` (0..7).
    TrunkMappingDialog(ImageState &state, MappingHost &host, Prompter &prompter, int trunk,
                       QWidget *parent = nullptr);

    // The option buttons of tab `tab`, row by row.
    std::array<QRadioButton *, 32> &options(int tab) { return options_[tab]; }
    // A member's own row is fixed to itself.
    void lockMemberRow(int memberIndex);
    // An unchecked member can be chosen by no port.
    void disableMemberColumn(int memberIndex);
    // Every port without a member gets one, in turn over the members that can be chosen; a
    // member's own row and the choices already made stay.
    void spreadEvenly();

    QTabWidget *portTabs = nullptr;
    std::array<QGroupBox *, 4> trunkFrames{}; // one per tab, "Trunk 1".."Trunk 8"
    std::array<QLabel *, 16> memberHeaders{}; // column headers, 4 per tab: the members' ports
    std::array<QLabel *, 32> portLabels{};    // row labels "Port 1".."Port32"
    QPushButton *spreadButton = nullptr;      // "Spread evenly"
    QPushButton *okButton = nullptr;          // OK
    QPushButton *cancelButton = nullptr;      // Cancel

private:
    QWidget *buildTab(int tab);
    void applyModel();
    void confirm();
    bool moduleTabAvailable() const;
    // The front-panel ports (0-based) of the model whose row holds no choice yet.
    std::vector<int> portsWithoutMember() const;
    QRadioButton *option(int port, int member) const
    {
        return options_[TrunkLayout::mappingTab(port)][TrunkLayout::mappingBox(port, member)];
    }

    ImageState &state_;
    MappingHost &host_;
    Prompter &prompter_;
    const int trunk_;
    std::array<std::array<QRadioButton *, 32>, 4> options_{};
    std::array<bool, 4> memberOpen_{true, true, true, true}; // columns that can be chosen
};
