#pragma once

#include "image/image_state.h"

// Images that tests start from.
namespace TestImages
{

// A word value that says where it lives, so a misplaced word shows in a comparison.
inline quint16 tagWord(int device, int word)
{
    return static_cast<quint16>(0xA000 | device << 8 | word);
}

// A valid image of the model (0..2): signatures on devices 0..2, the model word, and a distinct,
// recognisable value in every other word.
inline ImageWords validImage(int model)
{
    const quint16 modelWords[] = {0x10C0, 0xB1C0, 0x31C0};
    ImageWords image{};
    for (int d = 0; d < kDeviceSlots; ++d) {
        for (int w = 0; w < kWordsPerDevice; ++w)
            image[d][w] = tagWord(d, w);
        image[d][0] = 0x1815; // signature 0x181 in bits 4..12
    }
    image[0][11] = modelWords[model];
    return image;
}

} // namespace TestImages
