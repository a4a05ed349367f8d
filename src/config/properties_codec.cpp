#include "config/properties_codec.h"

#include "config/trunk/mac_trunk_codec.h"
#include "config/trunk/port_trunk_codec.h"
#include "config/trunk/trunk_board.h"
#include "config/trunk/trunk_clear.h"
#include "config/vlan/vlan_groups.h"
#include "image/device_models.h"
#include "image/image_state.h"

namespace PropertiesCodec
{

void decode(ImageState &state, TrunkBoard &trunks)
{
    trunks.enableModuleTrunks(state.model().moduleTrunks);
    trunks.setHashIndex(0);
    for (auto &group : state.vlanTrunkMember)
        group.fill(false);
    for (auto &group : state.vlanPortMember)
        group.fill(false);

    MacTrunkCodec::decodeMacTrunks(state.eepromImage, trunks);
    PortTrunkCodec::decodePortTrunks(state, trunks);
    VlanGroups::decodeVlanGroups(state);
}

void encode(ImageState &state, const TrunkPageState &trunks)
{
    for (auto &device : state.vlanMap)
        device.fill(0);
    TrunkWords::clearTrunkSettings(state);
    MacTrunkCodec::encodeMacTrunks(state, trunks);
    PortTrunkCodec::encodePortTrunks(state, trunks);
    state.portWordsToImage();
    VlanGroups::vlanMasksToImage(state);
    MacTrunkCodec::clearMacTrunkSelfMasks(state, trunks);
    VlanGroups::recordVlanGroups(state);
    state.propertiesApplied = true;
}

} // namespace PropertiesCodec
