#include "config/port_mask.h"

#include "image/device_models.h"
#include "image/eeprom_layout.h"

namespace
{

constexpr int kFirstMaskWord = EepromLayout::kFirstVlanMaskWord;
constexpr int kFirstModuleMaskWord = EepromLayout::kModuleMaskWord; // 1000Base-SX: gigabit ports

} // namespace

void vlanMapToImage(ImageState &state, int sxWords)
{
    const DeviceModelInfo &model = state.model();
    for (int d = 0; d < model.chipDevices; ++d) {
        for (int w = 0; w < kPortWordsPerDevice; ++w)
            state.eepromImage[d][kFirstMaskWord + w] = state.vlanMap[d][w];
    }
    if (model.hasGigabitModule()) {
        for (int w = 0; w < sxWords; ++w)
            state.eepromImage[3][kFirstModuleMaskWord + w] = state.vlanMap[3][w];
    }
}

PortMask imageMask(const ImageWords &image, int chipPort, bool gigabitModule)
{
    const int device = chipPort / 8;
    const int word =
        (gigabitModule && device == kModuleDevice ? kFirstModuleMaskWord : kFirstMaskWord) +
        2 * (chipPort % 8);
    return PortMask{image[device][word], image[device][word + 1]};
}
