#include "config/port_mask.h"
#include "config/trunk/port_trunk_codec.h"
#include "config/trunk/trunk_board.h"

namespace PortTrunkCodec
{

using namespace TrunkLayout;

namespace
{

int memberChip(const Module1 &module, int trunk, int member)
{
    return module.PortMap[memberUserIndex(trunk, member)];
}

// Adds `mask` to the mask of every chip port of the trunk's four member boxes, checked or not.
void addToMembers(Module1 &module, int trunk, const PortMask &mask)
{
    for (int m = 0; m < kMemberBoxes; ++m)
        mask.orInto(module.VlanMap, memberChip(module, trunk, m));
}

} // namespace

void ReadMapping(Module1 &module, int trunk, int userIndex)
{
    const auto &row = module.PortTrunkMapping[trunk][userIndex / 8];
    int member = 0;
    while (member < kMemberBoxes && !row[4 * (userIndex % 8) + member])
        ++member;
    if (member == kMemberBoxes)
        member = 0;
    const int c = memberChip(module, trunk, member);
    // A member's own row maps it to itself: it gains nothing.
    if (module.PortMap[userIndex] != c) {
        PortMask mask;
        mask.add(c);
        mask.orInto(module.VlanMap, module.PortMap[userIndex]);
    }
}

void PortTrunkVLANMap(Module1 &module, const TrunkPageState &page)
{
    const int last = module.Is32Port ? 31 : module.Is1000SX ? 25 : 23;
    std::array<bool, kUserPortCount + 1> flag{};
    std::array<bool, kTrunks + 1> trunkCovered{}; // not in use, or in some group
    for (int t = 0; t < kTrunks; ++t)
        trunkCovered[t] = !page.port.trunk[t];

    if (module.VlanGroupCount == 0) {
        // Indexed by chip port: the ports that are no trunk member form one set.
        flag.fill(true);
        for (int t = 0; t < kTrunks; ++t) {
            for (int m = 0; m < kMemberBoxes; ++m) {
                if (page.port.member[t][m])
                    flag[memberChip(module, t, m)] = false;
            }
        }
        PortMask free;
        for (int c = 0; c <= last; ++c) {
            if (flag[c])
                free.add(c);
        }
        for (int c = 0; c <= last; ++c)
            free.orInto(module.VlanMap, c);
        // Whether or not the trunk is still in use, each mapping adds its member.
        for (int t = 0; t < kTrunks; ++t) {
            for (int g = 0; g < 4; ++g) {
                for (int j = 0; j < 32; ++j) {
                    if (!module.PortTrunkMapping[t][g][j])
                        continue;
                    const int c = memberChip(module, t, j % 4);
                    const int s = module.PortMap[8 * g + j / 4];
                    if (s != c) {
                        PortMask member;
                        member.add(c);
                        member.orInto(module.VlanMap, s);
                    }
                }
            }
        }
    } else {
        // Indexed by user port: group by group, then the ports that no group holds.
        for (int g = 0; g < module.VlanGroupCount; ++g) {
            PortMask group;
            for (int p = 0; p < kUserPortCount; ++p) {
                flag[p] = flag[p] || module.VlanPortMember[g][p];
                if (module.VlanPortMember[g][p])
                    group.add(module.PortMap[p]);
            }
            for (int t = 0; t < kTrunks; ++t)
                trunkCovered[t] = trunkCovered[t] || module.VlanTrunkMember[g][t];
            for (int p = 0; p < kUserPortCount; ++p) {
                if (!module.VlanPortMember[g][p])
                    continue;
                group.orInto(module.VlanMap, module.PortMap[p]);
                for (int t = 0; t < kTrunks; ++t) {
                    if (module.VlanTrunkMember[g][t])
                        ReadMapping(module, t, p);
                }
            }
            for (int t = 0; t < kTrunks; ++t) {
                if (module.VlanTrunkMember[g][t])
                    addToMembers(module, t, group);
            }
        }
        for (int t = 0; t < kTrunks; ++t) {
            for (int m = 0; m < kMemberBoxes; ++m) {
                if (page.port.member[t][m])
                    flag[memberUserIndex(t, m)] = true;
            }
        }
        PortMask others;
        for (int p = 0; p <= last; ++p) {
            if (!flag[p])
                others.add(module.PortMap[p]);
        }
        for (int p = 0; p <= last; ++p) {
            if (flag[p])
                continue;
            others.orInto(module.VlanMap, module.PortMap[p]);
            for (int t = 0; t < kTrunks; ++t) {
                if (!trunkCovered[t])
                    ReadMapping(module, t, p);
            }
        }
        for (int t = 0; t < kTrunks; ++t) {
            if (!trunkCovered[t])
                addToMembers(module, t, others);
        }
    }
    // The 1000Base-SX module takes five words here, 16 to 20.
    vlanMapToImage(module, 5);
}

} // namespace PortTrunkCodec
