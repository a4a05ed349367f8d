#include "image/image_state.h"

#include "image/device_models.h"

const DeviceModelInfo &ImageState::model() const
{
    return deviceModelInfo(model_);
}

void ImageState::setModel(int model)
{
    model_ = model;
}

void ImageState::applyPortWordDefaults()
{
    for (auto &device : portWords) {
        for (int k = 0; k < 8; ++k) {
            device[2 * k] = kDefaultFirstPortWord;
            device[2 * k + 1] = kDefaultSecondPortWord;
        }
    }
}

void ImageState::applyStartupDefaults()
{
    applyPortWordDefaults();
    for (auto &device : vlanMap)
        device.fill(0);
    imageLoaded = false;
    lastModel = 1;
}

void ImageState::resetForModelChange()
{
    configChanged = false;
    unsavedChanges = false;
    vlanGroupCount = 0;
    propertiesApplied = false;
    for (auto &device : eepromImage)
        device.fill(0);
    applyPortWordDefaults();
}

void ImageState::takeLoadedImage(const ImageWords &image)
{
    eepromImage = image;
    imageLoaded = true;
    unsavedChanges = false;
    portWordsFromImage();
}

void ImageState::portWordsFromImage()
{
    if (!imageLoaded && !propertiesApplied) {
        applyPortWordDefaults();
        return;
    }
    for (int d = 0; d < model().chipDevices; ++d) {
        for (int i = 0; i < kPortWordsPerDevice; ++i)
            portWords[d][i] = eepromImage[d][kFirstPortWord + i];
    }
}

void ImageState::portWordsToImage()
{
    for (int d = 0; d < model().chipDevices; ++d) {
        for (int i = 0; i < kPortWordsPerDevice; ++i)
            eepromImage[d][kFirstPortWord + i] = portWords[d][i];
    }
}
