#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The three switch models, indexed as in the main window's model list.
enum DeviceModel : int {
    Model24NWay = 0, // devices 0..2
    Model24Sx = 1,   // devices 0..3, device 3 is the gigabit fiber module
    Model32NWay = 2, // devices 0..3, device 3 is the 8-port module
};

constexpr int kModelCount = 3;
constexpr int kStartupModel = Model24Sx;

// Device 3 is the module device on the two models that carry one.
constexpr int kModuleDevice = 3;

struct DeviceModelInfo {
    QString listText;          // model list entry
    QString mainCaption;       // main window caption
    QString propertiesCaption; // properties dialog caption
    quint16 modelWord;         // device 0, word 11 of a valid image
    int deviceCount;           // devices read, written and saved
    int lastChipPort;          // highest chip port in use
    QString wrongFileMessage;  // shown when a file's model word does not match
};

// Model m in 0..2; anything else is a programming error.
const DeviceModelInfo &deviceModelInfo(int model);

inline bool isValidModel(int model)
{
    return model >= 0 && model < kModelCount;
}
inline bool hasModuleDevice(int model)
{
    return model != Model24NWay;
}
inline int deviceCountOf(int model)
{
    return hasModuleDevice(model) ? 4 : 3;
}

// "24", "24sx" or "32" (any case), or the list index "0".."2": the model, as the command lines
// name it.
std::optional<int> modelForName(const QString &name);
// The model whose model word (device 0, word 11) `word` is; nothing for any other word.
std::optional<int> modelForWord(quint16 word);
