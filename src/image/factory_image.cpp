#include "image/factory_image.h"

#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/eeprom_layout.h"

using namespace EepromLayout;

ImageWords factoryImage(int model)
{
    ImageWords image{};
    const int devices = deviceCountOf(model);
    const int lastChipPort = deviceModelInfo(model).lastChipPort;

    // Every chip port of the model may reach every other, itself included.
    quint32 reach = 0;
    for (int c = 0; c <= lastChipPort; ++c)
        reach |= quint32{1} << c;
    const auto highMask = static_cast<quint16>(reach >> 16);
    const auto lowMask = static_cast<quint16>(reach & 0xFFFF);

    for (int d = 0; d < devices; ++d) {
        DeviceWords &words = image[d];
        words[0] = BinFile::kSignature;
        for (int k = 0; k < 8; ++k) {
            words[kFirstPortWord + 2 * k] = kDefaultFirstPortWord;
            words[kFirstPortWord + 2 * k + 1] = kDefaultSecondPortWord;
            if (8 * d + k <= lastChipPort) {
                words[kFirstVlanMaskWord + 2 * k] = highMask;
                words[kFirstVlanMaskWord + 2 * k + 1] = lowMask;
            }
        }
    }
    image[0][BinFile::kModelWord] = deviceModelInfo(model).modelWord;

    if (deviceModelInfo(model).hasGigabitModule()) {
        DeviceWords &module = image[kModuleDevice];
        for (int w = 0; w < 4; ++w)
            module[kModuleMaskWord + w] = module[kFirstVlanMaskWord + w];
        for (int w = 0; w < kModuleTrunkWords; ++w)
            module[kModuleTrunkWord + w] = kModuleTrunkIdle;
        module[kModuleTrunkSpareWord] = 0;
    }
    return image;
}
