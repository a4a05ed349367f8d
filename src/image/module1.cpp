#include "image/module1.h"

void Module1::applyPortWordDefaults()
{
    for (auto &device : PortWords) {
        for (int k = 0; k < 8; ++k) {
            device[2 * k] = kDefaultFirstPortWord;
            device[2 * k + 1] = kDefaultSecondPortWord;
        }
    }
}

void Module1::applyStartupDefaults()
{
    applyPortWordDefaults();
    for (auto &device : VlanMap)
        device.fill(0);
    ImageLoaded = false;
    Is1000SX = false;
    LastModel = 1;
}

void Module1::resetForModelChange()
{
    ConfigChanged = false;
    VlanGroupCount = 0;
    PropertiesApplied = false;
    for (auto &device : EepromImage)
        device.fill(0);
    applyPortWordDefaults();
}

void Module1::takeLoadedImage(const ImageWords &image)
{
    EepromImage = image;
    ImageLoaded = true;
    PortWordsFromImage();
}

void Module1::PortWordsFromImage()
{
    if (!ImageLoaded && !PropertiesApplied) {
        applyPortWordDefaults();
        return;
    }
    for (int d = 0; d < portWordDevices(); ++d) {
        for (int i = 0; i < kPortWordsPerDevice; ++i)
            PortWords[d][i] = EepromImage[d][kFirstPortWord + i];
    }
}

void Module1::PortWordsToImage()
{
    for (int d = 0; d < portWordDevices(); ++d) {
        for (int i = 0; i < kPortWordsPerDevice; ++i)
            EepromImage[d][kFirstPortWord + i] = PortWords[d][i];
    }
}
