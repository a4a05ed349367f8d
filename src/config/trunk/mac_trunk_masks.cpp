#include "config/port_mask.h"
#include "config/trunk/mac_trunk_codec.h"
#include "config/trunk/trunk_board.h"

namespace MacTrunkCodec
{

using namespace TrunkLayout;

void L2TrunkVLANMap(Module1 &module, const TrunkPageState &page)
{
    for (int g = 0; g < module.VlanGroupCount; ++g) {
        // The group's ports; a trunk of the group decides alone about the ports of its group.
        std::array<bool, kUserPortCount> members = module.VlanPortMember[g];
        for (int t = 0; t < kTrunks; ++t) {
            if (!module.VlanTrunkMember[g][t])
                continue;
            for (int i = 0; i < kMacPortBoxes; ++i)
                members[macPortUserIndex(t, i)] = page.mac.port[t][i];
        }
        PortMask mask;
        for (int p = 0; p < kUserPortCount; ++p) {
            if (members[p])
                mask.add(module.PortMap[p]);
        }
        for (int p = 0; p < kUserPortCount; ++p) {
            if (members[p])
                mask.orInto(module.VlanMap, module.PortMap[p]);
        }
    }
}

void ClearL2TrunkSelfVLAN(Module1 &module, const TrunkPageState &page)
{
    if (page.method != TrunkMethod::MacAddress)
        return;
    for (int t = 0; t < kTrunks; ++t) {
        PortMask own;
        for (int i = 0; i < kMacPortBoxes; ++i) {
            if (page.mac.port[t][i])
                own.add(module.PortMap[macPortUserIndex(t, i)]);
        }
        for (int i = 0; i < kMacPortBoxes; ++i) {
            if (page.mac.port[t][i])
                own.removeFrom(module.VlanMap, module.PortMap[macPortUserIndex(t, i)]);
        }
    }
    vlanMapToImage(module);
}

} // namespace MacTrunkCodec
