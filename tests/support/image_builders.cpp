#include "support/image_builders.h"

#include "image/bin_file.h"
#include "image/device_models.h"

namespace TestImages
{

ImageWords validImage(int model)
{
    ImageWords image{};
    for (int d = 0; d < kDeviceSlots; ++d) {
        for (int w = 0; w < kWordsPerDevice; ++w)
            image[d][w] = tagWord(d, w);
        image[d][0] = BinFile::kSignature | 0x0005;
    }
    image[0][BinFile::kModelWord] = deviceModelInfo(model).modelWord;
    return image;
}

} // namespace TestImages
