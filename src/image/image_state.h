#pragma once

#include <QtGlobal>

#include <array>

struct DeviceModelInfo;

// Sizes of the configuration image and the tables kept beside it.
constexpr int kDeviceSlots = 4;         // devices 0..3
constexpr int kWordsPerDevice = 128;    // EEPROM words per device
constexpr int kPortWordsPerDevice = 16; // two setting words for each of 8 ports
constexpr int kFirstPortWord = 13;      // EEPROM word of port 0's first setting word
constexpr int kUserPortCount = 32;
constexpr int kTrunkCount = 8;
constexpr int kVlanGroupMax = 32;

constexpr quint16 kDefaultFirstPortWord = 0x000F;
constexpr quint16 kDefaultSecondPortWord = 0x4C5F;

using DeviceWords = std::array<quint16, kWordsPerDevice>;
using ImageWords = std::array<DeviceWords, kDeviceSlots>;
using PortWordTable = std::array<std::array<quint16, kPortWordsPerDevice>, kDeviceSlots>;

// The program-wide state: the EEPROM image of every device, the working tables beside it and the
// flags that tie the windows together. main() makes exactly one and hands it on by reference;
// every test makes a fresh one.
class ImageState
{
public:
    // EEPROM word (device, word), 0..65535.
    ImageWords eepromImage{};
    // Working copy of words 13..28 of each device: (d, 2k) first and (d, 2k + 1) second word of
    // port k.
    PortWordTable portWords{};
    // VLAN mask work words: (d, 2k) high and (d, 2k + 1) low mask of port k of device d.
    PortWordTable vlanMap{};

    int lastModel = 0;
    bool configChanged = false; // the properties dialog was confirmed since the last model reset
    bool propertiesApplied = false; // set by the properties dialog's OK, cleared by model reset
    // Settings confirmed with the properties dialog's OK that are neither saved nor written to a
    // switch yet; cleared by Save, a verified Write, a new image and a model reset.
    bool unsavedChanges = false;
    bool imageLoaded = false;      // the image was filled by Open or Read
    bool phyUpdatePending = false; // a port's advertised abilities were changed in the dialog

    // VLAN groups 1..vlanGroupCount; members by user port index and by trunk index.
    int vlanGroupCount = 0;
    std::array<std::array<bool, kUserPortCount>, kVlanGroupMax> vlanPortMember{};
    std::array<std::array<bool, kTrunkCount>, kVlanGroupMax> vlanTrunkMember{};
    int selectedVlanGroup = 0; // 1-based number of the highlighted group, 0 when none
    bool vlanAddMode = false;

    // User port index -> chip port and back; rebuilt by every load of the properties dialog.
    // Index 32 is never written.
    std::array<int, kUserPortCount + 1> portMap{};
    std::array<int, kUserPortCount + 1> portMapInverse{};

    // Port-based trunk mapping: (trunk, tab, option) as the mapping dialog lays it out.
    std::array<std::array<std::array<bool, 32>, 4>, kTrunkCount> portTrunkMapping{};

    // Both setting words of every port of devices 0..3 to their defaults.
    void applyPortWordDefaults();
    // Run by the main window before it is first shown, after its model list was filled.
    void applyStartupDefaults();
    // Run when the user confirms a model change with unsaved properties.
    void resetForModelChange();
    // The model the settings are laid out for: the selected one, set by the model list and by
    // every command that decodes or encodes settings. The 24-port N-Way model until set.
    const DeviceModelInfo &model() const;
    void setModel(int model);

    // An image read from a switch or accepted from a file becomes the configuration: the port
    // words follow it (the model must already be set).
    void takeLoadedImage(const ImageWords &image);

    // portWords <- image words 13..28 of the model's chip devices, or the defaults while nothing
    // was loaded or applied.
    void portWordsFromImage();
    // Image words 13..28 <- portWords, for the same devices.
    void portWordsToImage();

private:
    int model_ = 0;
};
