#include "config/port_mask.h"

#include "image/eeprom_layout.h"

namespace
{

constexpr int kFirstMaskWord = EepromLayout::kFirstVlanMaskWord;
constexpr int kFirstModuleMaskWord = EepromLayout::kModuleMaskWord; // 1000Base-SX: gigabit ports

} // namespace

void vlanMapToImage(ImageState &state, int sxWords)
{
    for (int d = 0; d < kDeviceSlots; ++d) {
        if (d == kDeviceSlots - 1 && !state.is32Port)
            break;
        for (int w = 0; w < kPortWordsPerDevice; ++w)
            state.eepromImage[d][kFirstMaskWord + w] = state.vlanMap[d][w];
    }
    if (state.is1000Sx) {
        for (int w = 0; w < sxWords; ++w)
            state.eepromImage[3][kFirstModuleMaskWord + w] = state.vlanMap[3][w];
    }
}

PortMask imageMask(const ImageWords &image, int chipPort, bool is1000SX)
{
    const int device = chipPort / 8;
    const int word =
        (is1000SX && device == 3 ? kFirstModuleMaskWord : kFirstMaskWord) + 2 * (chipPort % 8);
    return PortMask{image[device][word], image[device][word + 1]};
}
