#include "config/port_mask.h"
#include "config/trunk/port_trunk_codec.h"
#include "config/trunk/trunk_board.h"
#include "image/device_models.h"

namespace PortTrunkCodec
{

using namespace TrunkLayout;

namespace
{

int memberChip(const ImageState &state, int trunk, int member)
{
    return state.portMap[memberUserIndex(trunk, member)];
}

// Adds `mask` to the mask of every chip port of the trunk's four member boxes, checked or not.
void addToMembers(ImageState &state, int trunk, const PortMask &mask)
{
    for (int m = 0; m < kMemberBoxes; ++m)
        mask.orInto(state.vlanMap, memberChip(state, trunk, m));
}

} // namespace

void addMappedMember(ImageState &state, int trunk, int userIndex)
{
    // A row without a choice counts as mapped to the first member.
    const int c = memberChip(state, trunk, firstMappedMember(state, trunk, userIndex).value_or(0));
    // A member's own row maps it to itself: it gains nothing.
    if (state.portMap[userIndex] != c) {
        PortMask mask;
        mask.add(c);
        mask.orInto(state.vlanMap, state.portMap[userIndex]);
    }
}

void encodePortTrunkMasks(ImageState &state, const TrunkPageState &page)
{
    const int last = state.model().lastChipPort;
    std::array<bool, kUserPortCount + 1> flag{};
    std::array<bool, kTrunks + 1> trunkCovered{}; // not in use, or in some group
    for (int t = 0; t < kTrunks; ++t)
        trunkCovered[t] = !page.port.trunk[t];

    if (state.vlanGroupCount == 0) {
        // Indexed by chip port: the ports that are no trunk member form one set.
        flag.fill(true);
        for (int t = 0; t < kTrunks; ++t) {
            for (int m = 0; m < kMemberBoxes; ++m) {
                if (page.port.member[t][m])
                    flag[memberChip(state, t, m)] = false;
            }
        }
        PortMask free;
        for (int c = 0; c <= last; ++c) {
            if (flag[c])
                free.add(c);
        }
        for (int c = 0; c <= last; ++c)
            free.orInto(state.vlanMap, c);
        // Whether or not the trunk is still in use, each mapping adds its member.
        for (int t = 0; t < kTrunks; ++t) {
            for (int g = 0; g < 4; ++g) {
                for (int j = 0; j < 32; ++j) {
                    if (!state.portTrunkMapping[t][g][j])
                        continue;
                    const int c = memberChip(state, t, j % 4);
                    const int s = state.portMap[8 * g + j / 4];
                    if (s != c) {
                        PortMask member;
                        member.add(c);
                        member.orInto(state.vlanMap, s);
                    }
                }
            }
        }
    } else {
        // Indexed by user port: group by group, then the ports that no group holds.
        for (int g = 0; g < state.vlanGroupCount; ++g) {
            PortMask group;
            for (int p = 0; p < kUserPortCount; ++p) {
                flag[p] = flag[p] || state.vlanPortMember[g][p];
                if (state.vlanPortMember[g][p])
                    group.add(state.portMap[p]);
            }
            for (int t = 0; t < kTrunks; ++t)
                trunkCovered[t] = trunkCovered[t] || state.vlanTrunkMember[g][t];
            for (int p = 0; p < kUserPortCount; ++p) {
                if (!state.vlanPortMember[g][p])
                    continue;
                group.orInto(state.vlanMap, state.portMap[p]);
                for (int t = 0; t < kTrunks; ++t) {
                    if (state.vlanTrunkMember[g][t])
                        addMappedMember(state, t, p);
                }
            }
            for (int t = 0; t < kTrunks; ++t) {
                if (state.vlanTrunkMember[g][t])
                    addToMembers(state, t, group);
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
                others.add(state.portMap[p]);
        }
        for (int p = 0; p <= last; ++p) {
            if (flag[p])
                continue;
            others.orInto(state.vlanMap, state.portMap[p]);
            for (int t = 0; t < kTrunks; ++t) {
                if (!trunkCovered[t])
                    addMappedMember(state, t, p);
            }
        }
        for (int t = 0; t < kTrunks; ++t) {
            if (!trunkCovered[t])
                addToMembers(state, t, others);
        }
    }
    // The 1000Base-SX module takes five words here, 16 to 20.
    vlanMapToImage(state, 5);
}

} // namespace PortTrunkCodec
