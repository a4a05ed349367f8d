#include "config/trunk/trunk_clear.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_groups.h"
#include "image/image_state.h"
#include "image/port_word_codec.h"

namespace TrunkWords
{

using namespace TrunkLayout;

void clearTrunkSettings(ImageState &state)
{
    if (state.is32Port) {
        state.portMap[24] = 25;
        state.portMap[25] = 27;
    }
    if (state.is1000Sx) {
        state.portMap[24] = 24;
        state.portMap[25] = 25;
    }
    ImageWords &image = state.eepromImage;
    for (DeviceWords &device : image)
        device[kMethodWord] &= quint16(~kMethodBit);

    const int tableDevices = state.is32Port ? 4 : 3;
    for (int d = 0; d < tableDevices; ++d) {
        for (int k = 0; k < 8; ++k) {
            image[d][kTrunkTableWord + k] = 0;
            state.portWords[d][2 * k] &= quint16(~PortWord::kTrunkPortFlag);
        }
    }
    if (state.is1000Sx) {
        for (int w = 0; w < EepromLayout::kModuleTrunkWords; ++w)
            image[3][kSxTrunkWord + w] = kSxTrunkWordReset;
        image[3][EepromLayout::kModuleTrunkSpareWord] = 0;
    }
    const int flagDevices = state.is32Port || state.is1000Sx ? 4 : 3;
    for (int d = 0; d < flagDevices; ++d) {
        image[d][kMacInUseWord2] &= quint16(~kMacInUseBits2);
        image[d][kMacInUseWord3] &= quint16(~kMacInUseBits3);
    }

    VlanGroups::emptyRecords(image);
}

} // namespace TrunkWords
