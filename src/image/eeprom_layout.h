#pragma once

#include <QtGlobal>

// Where the settings lie in a device's EEPROM words, for every reader and writer of the image.
namespace EepromLayout
{

// The VLAN reach of chip port k: its high mask in word 29 + 2k, its low mask in the word after.
constexpr int kFirstVlanMaskWord = 29;
// The 1000Base-SX module (device 3) keeps its own copy of the two gigabit ports' masks...
constexpr int kModuleMaskWord = 16;
// ...and their trunk words, 0xF00F while no trunk is set, followed by a word that is zero then.
constexpr int kModuleTrunkWord = 21;
constexpr int kModuleTrunkWords = 4;
constexpr quint16 kModuleTrunkIdle = 0xF00F;
constexpr int kModuleTrunkSpareWord = kModuleTrunkWord + kModuleTrunkWords;

} // namespace EepromLayout
