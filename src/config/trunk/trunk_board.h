#pragma once

#include "config/trunk/trunk_layout.h"

#include <QString>

#include <array>

// How the switch spreads a trunk's traffic: chosen with the "Load Balancing Method" buttons.
enum class TrunkMethod { Unset, MacAddress, PortBased };

// MAC-address-based trunks (tab "MAC Address Based"): a trunk box and eight port boxes each.
struct MacTrunkBoxes {
    std::array<bool, TrunkLayout::kTrunks> trunk{}; // "Trunk1".."Trunk8"
    std::array<bool, TrunkLayout::kTrunks> trunkEnabled{};
    std::array<std::array<bool, TrunkLayout::kMacPortBoxes>, TrunkLayout::kTrunks> port{};
    std::array<std::array<bool, TrunkLayout::kMacPortBoxes>, TrunkLayout::kTrunks> portEnabled{};
};

// Port-based trunks (tab "Port Based"): a trunk box, four member boxes, and the mapping button
// with its status label ("ok" once a complete mapping was confirmed, "not yet" otherwise).
struct PortTrunkBoxes {
    std::array<bool, TrunkLayout::kTrunks> trunk{};
    std::array<bool, TrunkLayout::kTrunks> trunkEnabled{};
    std::array<std::array<bool, TrunkLayout::kMemberBoxes>, TrunkLayout::kTrunks> member{};
    std::array<std::array<bool, TrunkLayout::kMemberBoxes>, TrunkLayout::kTrunks> memberEnabled{};
    std::array<bool, TrunkLayout::kTrunks> mappingEnabled{}; // button and label
    std::array<bool, TrunkLayout::kTrunks> mappingDone{};
};

// Everything the trunk page shows, as plain data: what the encoders read and the page draws.
struct TrunkPageState {
    TrunkMethod method = TrunkMethod::Unset;
    int shownTab = 0;         // 0 "Port Based", 1 "MAC Address Based"
    bool hashEnabled = false; // the hash method list and its caption
    int hashIndex = 0;        // 0..3; -1 when none is selected
    MacTrunkBoxes mac;
    PortTrunkBoxes port;
};

// What the rules need from the window around them.
class TrunkPageHost
{
public:
    virtual ~TrunkPageHost() = default;
    // `consequence` says what Yes gives up.
    virtual bool askYesNo(const QString &question, const QString &consequence) = 0;
    virtual void showExclamation(const QString &text) = 0;
    // Switching the method with trunks of the other method in use drops every VLAN group.
    virtual void removeAllVlanGroups() = 0;
};

// The trunk page's click rules, without widgets. Each setter is a change of one control, by the
// user or by code: when it changes the control, the control's rule runs, and the changes that
// rule makes run their own rules in turn, exactly as chained click events would. Setting a
// control to the state it has runs nothing.
class TrunkBoard
{
public:
    // Without a host, questions are answered No and messages go nowhere; decoding asks none.
    explicit TrunkBoard(TrunkPageHost *host = nullptr);

    const TrunkPageState &state() const { return state_; }

    // Trunks 7 and 8 exist only on a model with module trunks.
    void enableModuleTrunks(bool moduleTrunks);

    void selectMethod(TrunkMethod method); // a load-balancing method button selected
    void showTab(int tab);
    void setHashIndex(int index);

    void setMacTrunk(int trunk, bool checked);
    void setMacPort(int trunk, int box, bool checked);

    void setPortTrunk(int trunk, bool checked);
    void setMember(int trunk, int member, bool checked);
    void setMappingDone(int trunk, bool done);

    // The first port-based trunk in use whose mapping is not finished; -1 when there is none.
    int unfinishedMapping() const;

private:
    void macTrunkRule(int trunk);
    void macPortRule(int trunk, int box);
    void portTrunkRule(int trunk);
    void memberRule(int trunk, int member);
    void macMethodRule();
    void portMethodRule();
    void tabRule();

    bool anyPortTrunk() const;
    bool anyMacTrunk() const;

    TrunkPageHost *host_;
    TrunkPageState state_;
};
