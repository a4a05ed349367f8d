#include "config/port_mask.h"
#include "config/trunk/mac_trunk_codec.h"
#include "config/trunk/trunk_board.h"

namespace MacTrunkCodec
{

using namespace TrunkLayout;

void addMacTrunkVlanMasks(ImageState &state, const TrunkPageState &page)
{
    for (int g = 0; g < state.vlanGroupCount; ++g) {
        // The group's ports; a trunk of the group decides alone about the ports of its group.
        std::array<bool, kUserPortCount> members = state.vlanPortMember[g];
        for (int t = 0; t < kTrunks; ++t) {
            if (!state.vlanTrunkMember[g][t])
                continue;
            for (int i = 0; i < kMacPortBoxes; ++i)
                members[macPortUserIndex(t, i)] = page.mac.port[t][i];
        }
        PortMask mask;
        for (int p = 0; p < kUserPortCount; ++p) {
            if (members[p])
                mask.add(state.portMap[p]);
        }
        for (int p = 0; p < kUserPortCount; ++p) {
            if (members[p])
                mask.orInto(state.vlanMap, state.portMap[p]);
        }
    }
}

void clearMacTrunkSelfMasks(ImageState &state, const TrunkPageState &page)
{
    if (page.method != TrunkMethod::MacAddress)
        return;
    for (int t = 0; t < kTrunks; ++t) {
        PortMask own;
        for (int i = 0; i < kMacPortBoxes; ++i) {
            if (page.mac.port[t][i])
                own.add(state.portMap[macPortUserIndex(t, i)]);
        }
        for (int i = 0; i < kMacPortBoxes; ++i) {
            if (page.mac.port[t][i])
                own.removeFrom(state.vlanMap, state.portMap[macPortUserIndex(t, i)]);
        }
    }
    vlanMapToImage(state);
}

} // namespace MacTrunkCodec
