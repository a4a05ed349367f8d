#include "config/trunk/trunk_board.h"

#include <algorithm>

// MAC-address-based trunks: the two trunks of a pair share the eight ports of one device. A port
// belongs to at most one of them, a selected trunk keeps at least two ports, and while both are
// selected a port one of them gives up goes to the other.

using TrunkLayout::kMacPortBoxes;
using TrunkLayout::partnerOf;

void TrunkBoard::setMacTrunk(int trunk, bool checked)
{
    if (state_.mac.trunk[trunk] == checked)
        return;
    state_.mac.trunk[trunk] = checked;
    macTrunkRule(trunk);
}

void TrunkBoard::setMacPort(int trunk, int box, bool checked)
{
    if (state_.mac.port[trunk][box] == checked)
        return;
    state_.mac.port[trunk][box] = checked;
    macPortRule(trunk, box);
}

void TrunkBoard::macTrunkRule(int trunk)
{
    MacTrunkBoxes &mac = state_.mac;
    const int partner = partnerOf(trunk);
    if (!mac.trunk[trunk]) {
        // The freed ports are not offered to the partner: their own rule sees no trunk.
        for (int i = 0; i < kMacPortBoxes; ++i) {
            setMacPort(trunk, i, false);
            mac.portEnabled[trunk][i] = false;
        }
        return;
    }

    // Take every port the partner does not hold; count the ones it does.
    int partnerHolds = 0;
    for (int i = 0; i < kMacPortBoxes; ++i) {
        mac.portEnabled[trunk][i] = true;
        if (mac.portEnabled[partner][i] && !mac.port[partner][i])
            setMacPort(trunk, i, true);
        if (mac.portEnabled[partner][i] && mac.port[partner][i])
            ++partnerHolds;
    }
    auto &partnerPorts = mac.port[partner];
    if (partnerHolds == 7) {
        // The one free port came over; the partner gives up one more of its last two boxes.
        if (partnerPorts[6] && !partnerPorts[7])
            setMacPort(partner, 6, false);
        if (partnerPorts[6] && partnerPorts[7])
            setMacPort(partner, 7, false);
        if (!partnerPorts[6] && partnerPorts[7])
            setMacPort(partner, 7, false);
    }
    if (partnerHolds == 8) {
        setMacPort(partner, 6, false);
        setMacPort(partner, 7, false);
        setMacPort(trunk, 6, true);
        setMacPort(trunk, 7, true);
    }
    // Alone in its pair, a trunk starts with the first four ports.
    for (int i = 0; i < 4; ++i) {
        if (!mac.trunk[partner] && mac.portEnabled[trunk][i])
            setMacPort(trunk, i, true);
    }
}

void TrunkBoard::macPortRule(int trunk, int box)
{
    MacTrunkBoxes &mac = state_.mac;
    if (!mac.trunk[trunk])
        return;
    const int partner = partnerOf(trunk);
    for (int j = 0; j < kMacPortBoxes; ++j) {
        if (mac.port[trunk][j])
            setMacPort(partner, j, false);
    }
    const auto &own = mac.port[trunk];
    if (std::count(own.begin(), own.end(), false) == kMacPortBoxes - 1)
        setMacPort(trunk, box, true);
    if (mac.portEnabled[partner][box] && !mac.port[trunk][box])
        setMacPort(partner, box, true);
}
