#include "config/trunk/trunk_clear.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_groups.h"
#include "image/module1.h"
#include "image/port_word_codec.h"

namespace TrunkWords
{

using namespace TrunkLayout;

void ClearTrunkSetting(Module1 &module)
{
    if (module.Is32Port) {
        module.PortMap[24] = 25;
        module.PortMap[25] = 27;
    }
    if (module.Is1000SX) {
        module.PortMap[24] = 24;
        module.PortMap[25] = 25;
    }
    ImageWords &image = module.EepromImage;
    for (DeviceWords &device : image)
        device[kMethodWord] &= quint16(~kMethodBit);

    const int tableDevices = module.Is32Port ? 4 : 3;
    for (int d = 0; d < tableDevices; ++d) {
        for (int k = 0; k < 8; ++k) {
            image[d][kTrunkTableWord + k] = 0;
            module.PortWords[d][2 * k] &= quint16(~PortWord::kTrunkPortFlag);
        }
    }
    if (module.Is1000SX) {
        for (int w = kSxTrunkWord; w < kSxTrunkWord + 4; ++w)
            image[3][w] = kSxTrunkWordReset;
        image[3][kSxTrunkWord + 4] = 0;
    }
    const int flagDevices = module.Is32Port || module.Is1000SX ? 4 : 3;
    for (int d = 0; d < flagDevices; ++d) {
        image[d][kMacInUseWord2] &= quint16(~kMacInUseBits2);
        image[d][kMacInUseWord3] &= quint16(~kMacInUseBits3);
    }

    VlanGroups::emptyRecords(image);
}

} // namespace TrunkWords
