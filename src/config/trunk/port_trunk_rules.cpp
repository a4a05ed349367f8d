#include "config/trunk/trunk_board.h"

// Port-based trunks: four fixed ports each, of which at least two are members while the trunk is
// in use. Any member change that leaves a box unchecked asks for the mapping again.

using TrunkLayout::kMemberBoxes;

void TrunkBoard::setPortTrunk(int trunk, bool checked)
{
    if (state_.port.trunk[trunk] == checked)
        return;
    state_.port.trunk[trunk] = checked;
    portTrunkRule(trunk);
}

void TrunkBoard::setMember(int trunk, int member, bool checked)
{
    if (state_.port.member[trunk][member] == checked)
        return;
    state_.port.member[trunk][member] = checked;
    memberRule(trunk, member);
}

void TrunkBoard::setMappingDone(int trunk, bool done)
{
    state_.port.mappingDone[trunk] = done;
}

void TrunkBoard::portTrunkRule(int trunk)
{
    PortTrunkBoxes &port = state_.port;
    if (port.trunk[trunk]) {
        if (state_.method == TrunkMethod::PortBased)
            port.mappingEnabled[trunk] = true;
        for (int m = 0; m < kMemberBoxes; ++m) {
            setMember(trunk, m, true);
            port.memberEnabled[trunk][m] = true;
        }
        return;
    }
    port.mappingEnabled[trunk] = false;
    for (int m = 0; m < kMemberBoxes; ++m)
        setMember(trunk, m, false);
    for (int m = 0; m < kMemberBoxes; ++m)
        port.memberEnabled[trunk][m] = false;
}

void TrunkBoard::memberRule(int trunk, int member)
{
    PortTrunkBoxes &port = state_.port;
    if (port.trunk[trunk] && state_.method == TrunkMethod::PortBased) {
        int unchecked = 0;
        for (int m = 0; m < kMemberBoxes; ++m) {
            if (!port.member[trunk][m]) {
                ++unchecked;
                port.mappingDone[trunk] = false;
            }
        }
        if (unchecked == 3)
            setMember(trunk, member, true);
    }
    // Trunks 7 and 8 keep all four members while MAC-address-based trunking is chosen.
    if (TrunkLayout::isModuleTrunk(trunk) && state_.method == TrunkMethod::MacAddress) {
        for (int m = 0; m < kMemberBoxes; ++m)
            setMember(trunk, m, true);
    }
}
