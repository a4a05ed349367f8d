#include "config/properties_codec.h"

#include "config/trunk/mac_trunk_codec.h"
#include "config/trunk/port_trunk_codec.h"
#include "config/trunk/trunk_board.h"
#include "config/trunk/trunk_clear.h"
#include "config/vlan/vlan_groups.h"
#include "image/module1.h"

namespace PropertiesCodec
{

void decode(Module1 &module, TrunkBoard &trunks)
{
    trunks.enableModuleTrunks(module.Is32Port);
    trunks.setHashIndex(0);
    for (auto &group : module.VlanTrunkMember)
        group.fill(false);
    for (auto &group : module.VlanPortMember)
        group.fill(false);

    MacTrunkCodec::ParseL2TrunkSetting(module.EepromImage, trunks);
    PortTrunkCodec::ParsePortTrunkSetting(module, trunks);
    VlanGroups::ParseVLANSetting(module);
}

void encode(Module1 &module, const TrunkPageState &trunks)
{
    for (auto &device : module.VlanMap)
        device.fill(0);
    TrunkWords::ClearTrunkSetting(module);
    MacTrunkCodec::L2TrunkToEEBuf(module, trunks);
    PortTrunkCodec::PortTrunkToEEBuf(module, trunks);
    module.PortWordsToImage();
    VlanGroups::VlanMasksToImage(module);
    MacTrunkCodec::ClearL2TrunkSelfVLAN(module, trunks);
    VlanGroups::RecordVLAN(module);
    module.PropertiesApplied = true;
}

} // namespace PropertiesCodec
