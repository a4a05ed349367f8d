#include "config/vlan/vlan_membership.h"

#include "config/trunk/trunk_board.h"
#include "image/device_models.h"

namespace VlanMembership
{

using namespace TrunkLayout;

namespace
{

bool portBased(const TrunkPageState &trunks)
{
    return trunks.shownTab == 0 || trunks.method == TrunkMethod::PortBased;
}

bool macBased(const TrunkPageState &trunks)
{
    return trunks.shownTab == 1 || trunks.method == TrunkMethod::MacAddress;
}

// Calls `member(trunk, userIndex)` for every checked port box of the method's trunks; with
// `checkedTrunksOnly`, of the trunks whose own box is checked. A trunk box cleared by a change of
// method leaves its port boxes checked.
template <typename Visit>
void forEachPortBased(const TrunkPageState &trunks, Visit &&member, bool checkedTrunksOnly = false)
{
    for (int t = 0; t < kTrunks; ++t) {
        for (int m = 0; m < kMemberBoxes; ++m) {
            if (trunks.port.member[t][m] && (trunks.port.trunk[t] || !checkedTrunksOnly))
                member(t, memberUserIndex(t, m));
        }
    }
}

template <typename Visit>
void forEachMacBased(const TrunkPageState &trunks, Visit &&member, bool checkedTrunksOnly = false)
{
    for (int t = 0; t < kTrunks; ++t) {
        for (int i = 0; i < kMacPortBoxes; ++i) {
            if (trunks.mac.port[t][i] && (trunks.mac.trunk[t] || !checkedTrunksOnly))
                member(t, macPortUserIndex(t, i));
        }
    }
}

} // namespace

Choices available(const ImageState &state, const TrunkPageState &trunks)
{
    Choices choices;
    choices.ports.fill(true);
    choices.trunks.fill(true);
    const DeviceModelInfo &model = state.model();
    for (int p = model.switchPorts(); p < kUserPortCount; ++p)
        choices.ports[p] = false;
    if (!model.moduleTrunks) {
        for (int t = kFirstModuleTrunk; t < kTrunks; ++t)
            choices.trunks[t] = false;
    }
    auto noPort = [&model, &choices](int trunk, int p) {
        if (!isModuleTrunk(trunk) || model.moduleTrunks)
            choices.ports[p] = false;
    };
    if (trunks.method == TrunkMethod::PortBased) {
        for (int t = 0; t < kTrunks; ++t)
            choices.trunks[t] = trunks.port.mappingEnabled[t];
        forEachPortBased(trunks, noPort);
    }
    if (trunks.method == TrunkMethod::MacAddress) {
        for (int t = 0; t < kTrunks; ++t)
            choices.trunks[t] = trunks.mac.trunk[t];
        forEachMacBased(trunks, noPort);
    }
    return choices;
}

void dropTrunkMembers(ImageState &state, const TrunkPageState &trunks)
{
    auto dropPort = [&state](int, int p) {
        for (auto &group : state.vlanPortMember)
            group[p] = false;
    };
    auto dropUnusedTrunks = [&state](const std::array<bool, kTrunks> &inUse) {
        for (int t = 0; t < kTrunks; ++t) {
            for (auto &group : state.vlanTrunkMember)
                group[t] = group[t] && inUse[t];
        }
    };
    // Only the members of trunks in use leave the groups.
    if (portBased(trunks)) {
        dropUnusedTrunks(trunks.port.trunk);
        forEachPortBased(trunks, dropPort, true);
    }
    if (macBased(trunks)) {
        dropUnusedTrunks(trunks.mac.trunk);
        forEachMacBased(trunks, dropPort, true);
    }
}

} // namespace VlanMembership
