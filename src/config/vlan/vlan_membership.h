#pragma once

#include "image/image_state.h"

struct TrunkPageState;

// Which ports and trunks a VLAN group may hold: ports and trunks of the model, trunks in use
// under the chosen method, and no port that is a member of such a trunk (the trunk stands for it).
namespace VlanMembership
{

struct Choices {
    std::array<bool, kUserPortCount> ports{};
    std::array<bool, kTrunkCount> trunks{};
};

Choices available(const ImageState &state, const TrunkPageState &trunks);

// Takes out of every group the trunks not in use and the ports that became trunk members, under
// the method shown or chosen on the trunk page.
void dropTrunkMembers(ImageState &state, const TrunkPageState &trunks);

} // namespace VlanMembership
