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

// What sits in the module slot, device 3.
enum class ModuleKind {
    None,
    GigabitFiber, // two gigabit ports wired to chip ports 24 and 25, with their own word layout
    EightPort,    // a fourth 8-port chip laid out like devices 0..2
};

// Every fact of a model; code asks the description instead of testing model numbers.
struct DeviceModelInfo {
    int index;                 // position in the model list
    QString listText;          // model list entry
    QString mainCaption;       // main window caption
    QString propertiesCaption; // properties dialog caption
    QString commandLineName;   // how command lines and documents name it
    quint16 modelWord;         // device 0, word 11 of a valid image
    int deviceCount;           // devices read, written and saved
    int chipDevices;   // devices 0..chipDevices-1 are 8-port chips: port words, masks, trunks
    int pagePorts;     // ports the properties dialog's port page offers
    int lastChipPort;  // highest chip port in use
    ModuleKind module; // what device 3 is
    quint8 moduleCode; // the module register's value when that module is fitted; 0: none
    bool moduleTrunks; // trunks 7 and 8 (on the module's ports) exist
    QString wrongFileMessage; // shown when a file's model word does not match

    int switchPorts() const { return lastChipPort + 1; }
    bool hasModuleDevice() const { return module != ModuleKind::None; }
    bool hasGigabitModule() const { return module == ModuleKind::GigabitFiber; }
};

// Model m in 0..2; anything else is a programming error.
const DeviceModelInfo &deviceModelInfo(int model);

inline bool isValidModel(int model)
{
    return model >= 0 && model < kModelCount;
}
inline bool hasModuleDevice(int model)
{
    return deviceModelInfo(model).hasModuleDevice();
}
inline int deviceCountOf(int model)
{
    return deviceModelInfo(model).deviceCount;
}

// The model's command-line name (any case), or its list index "0".."2".
std::optional<int> modelForName(const QString &name);
// The model whose model word (device 0, word 11) `word` is; nothing for any other word.
std::optional<int> modelForWord(quint16 word);
