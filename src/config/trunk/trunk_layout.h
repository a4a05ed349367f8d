#pragma once

#include "image/eeprom_layout.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

class ImageState;

// Where the eight trunks sit on the switch. Trunks are indexed 0..7 for trunks 1..8; a user port
// index is the front-panel port number minus 1.
namespace TrunkLayout
{

constexpr int kTrunks = 8;
constexpr int kMacPortBoxes = 8; // port boxes of a MAC-address-based trunk
constexpr int kMemberBoxes = 4;  // member boxes of a port-based trunk

// Trunks 7 and 8 are made of the module's ports: only the 32-port model has them.
constexpr int kFirstModuleTrunk = 6;
constexpr bool isModuleTrunk(int trunk)
{
    return trunk >= kFirstModuleTrunk;
}

// Trunks 2n and 2n + 1 share the eight ports of switch device n.
constexpr int partnerOf(int trunk)
{
    return trunk ^ 1;
}
constexpr int pairDeviceOf(int trunk)
{
    return trunk / 2;
}

// MAC-address-based trunks: port box i of `trunk`, as its caption names it ("Port 1".."Port 4",
// "Port13".."Port16" for trunks 1 and 2).
int macPortUserIndex(int trunk, int box);
// Chip position k of the trunk's device is port box kChipPortOrder[k].
constexpr std::array<int, 8> kChipPortOrder{4, 0, 5, 1, 6, 2, 7, 3};

// Port-based trunks: member box m (0..3) of `trunk`, as its caption names it (trunk 1: ports 1,
// 2, 13, 14). Trunk n occupies chip ports 4(n - 1)..4(n - 1) + 3.
int memberUserIndex(int trunk, int member);
// Member box m is this offset within the trunk's four chip ports.
constexpr std::array<int, 4> kMemberChipOffset{1, 3, 0, 2};
// The inverse, by position on the device (positions 4..7 belong to the even trunk).
constexpr std::array<int, 8> kMemberOfPosition{2, 0, 3, 1, 2, 0, 3, 1};
constexpr int memberChipPort(int trunk, int member)
{
    return 4 * trunk + kMemberChipOffset[member];
}

// The mapping of a port-based trunk: four tabs of eight ports, a box per member and port; the box
// of member m in port p's row is mappingBox(p, m) on tab mappingTab(p).
constexpr int mappingTab(int userIndex)
{
    return userIndex / 8;
}
constexpr int mappingBox(int userIndex, int member)
{
    return 4 * (userIndex % 8) + member;
}
// The first member box checked in port p's row of `trunk`'s mapping; nothing when none is.
std::optional<int> firstMappedMember(const ImageState &state, int trunk, int userIndex);

// "Port" and the port number right-aligned in two characters: "Port 1".."Port32".
QString portBoxCaption(int userIndex);
QString trunkCaption(int trunk); // "Trunk1".."Trunk8"

// The hash methods of MAC-address-based trunks, in list order, and the word each one writes.
constexpr int kHashMethods = 4;
const std::array<const char *, kHashMethods> &hashMethodNames();
constexpr std::array<quint16, kHashMethods> kHashPatterns{0x0000, 0x5555, 0xAAAA, 0xFFFF};

// Trunk words of the image.
constexpr int kMethodWord = 0;
constexpr quint16 kMethodBit = 0x0008; // set: MAC-address-based load balancing
constexpr int kMacInUseWord2 = 2;
constexpr quint16 kMacInUseBits2 = 0x1800;
constexpr int kMacInUseWord3 = 3;
constexpr quint16 kMacInUseBits3 = 0x0070;
constexpr int kTrunkTableWord = 48; // 48..51 member bytes, or 48..55 port-based select words
constexpr int kHashWord = 52;
// 1000Base-SX, device 3: the module ports' trunk words, and their value when no trunk is written.
constexpr int kSxTrunkWord = EepromLayout::kModuleTrunkWord;
constexpr quint16 kSxTrunkWordReset = EepromLayout::kModuleTrunkIdle;

} // namespace TrunkLayout
