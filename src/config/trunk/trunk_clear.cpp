#include "config/trunk/trunk_clear.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_groups.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "image/port_map.h"
#include "image/port_word_codec.h"

namespace TrunkWords
{

using namespace TrunkLayout;

void clearTrunkSettings(ImageState &state)
{
    const DeviceModelInfo &model = state.model();
    // The module's first two ports lead to the chip ports that the model wires them to.
    if (model.hasModuleDevice()) {
        for (int i : {24, 25})
            state.portMap[i] = PortNumbers::chipPortOf(i, model.hasGigabitModule());
    }
    ImageWords &image = state.eepromImage;
    for (DeviceWords &device : image)
        device[kMethodWord] &= quint16(~kMethodBit);

    for (int d = 0; d < model.chipDevices; ++d) {
        for (int k = 0; k < 8; ++k) {
            image[d][kTrunkTableWord + k] = 0;
            state.portWords[d][2 * k] &= quint16(~PortWord::kTrunkPortFlag);
        }
    }
    if (model.hasGigabitModule()) {
        for (int w = 0; w < EepromLayout::kModuleTrunkWords; ++w)
            image[3][kSxTrunkWord + w] = kSxTrunkWordReset;
        image[3][EepromLayout::kModuleTrunkSpareWord] = 0;
    }
    for (int d = 0; d < model.deviceCount; ++d) {
        image[d][kMacInUseWord2] &= quint16(~kMacInUseBits2);
        image[d][kMacInUseWord3] &= quint16(~kMacInUseBits3);
    }

    VlanGroups::emptyRecords(image);
}

} // namespace TrunkWords
