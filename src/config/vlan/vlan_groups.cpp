#include "config/vlan/vlan_groups.h"

#include "config/port_mask.h"

namespace VlanGroups
{

namespace
{

constexpr int kFirstRecordWord = 64;      // slots 0..7 of devices 0..2: words 64 + 8m..66 + 8m
constexpr int kSecondHalfRecordWord = 68; // slots 8..15 of device 2 (groups 25..32)
constexpr int kSlotsPerDevice = 8;
constexpr int kTrunkBitsShift = 8; // the third word keeps its bits 0..7

// Where the record of the slot-th stored group begins.
struct RecordPlace {
    int device;
    int word;
};
RecordPlace recordPlace(int slot)
{
    const int block = slot / kSlotsPerDevice;
    const int m = slot % kSlotsPerDevice;
    if (block < 3)
        return {block, kFirstRecordWord + 8 * m};
    return {2, kSecondHalfRecordWord + 8 * m};
}

bool recordEmpty(const DeviceWords &device, int word)
{
    return device[word] == 0 && device[word + 1] == 0 && (device[word + 2] >> kTrunkBitsShift) == 0;
}

void addGroup(Module1 &module, const DeviceWords &device, int word)
{
    const int g = module.VlanGroupCount++;
    module.VlanPortMember[g].fill(false);
    module.VlanTrunkMember[g].fill(false);
    for (int i = 0; i < 16; ++i) {
        module.VlanPortMember[g][i] = device[word + 1] >> i & 1;
        module.VlanPortMember[g][i + 16] = device[word] >> i & 1;
    }
    for (int t = 0; t < kTrunkCount; ++t)
        module.VlanTrunkMember[g][t] = device[word + 2] >> (kTrunkBitsShift + t) & 1;
}

PortMask groupMask(const Module1 &module, int group)
{
    PortMask mask;
    for (int p = 0; p < kUserPortCount; ++p) {
        if (module.VlanPortMember[group][p])
            mask.add(module.PortMap[p]);
    }
    return mask;
}

QString memberText(const bool *members, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        if (members[i])
            text += QString::number(i + 1) + QLatin1Char(' ');
    }
    return text;
}

} // namespace

QString groupName(int number)
{
    return QStringLiteral("Group%1").arg(number);
}

QString portText(const Module1 &module, int group)
{
    return memberText(module.VlanPortMember[group].data(), kUserPortCount);
}

QString trunkText(const Module1 &module, int group)
{
    return memberText(module.VlanTrunkMember[group].data(), kTrunkCount);
}

bool hasMembers(const Module1 &module, int group)
{
    for (bool member : module.VlanPortMember[group]) {
        if (member)
            return true;
    }
    for (bool member : module.VlanTrunkMember[group]) {
        if (member)
            return true;
    }
    return false;
}

void ParseVLANSetting(Module1 &module)
{
    module.VlanGroupCount = 0;
    for (int block = 0; block < 4; ++block) {
        for (int m = 0; m < kSlotsPerDevice; ++m) {
            const RecordPlace place = recordPlace(block * kSlotsPerDevice + m);
            const DeviceWords &device = module.EepromImage[place.device];
            if (recordEmpty(device, place.word))
                break;
            addGroup(module, device, place.word);
        }
    }
}

void emptyRecords(ImageWords &image)
{
    for (int slot = 0; slot < kVlanGroupMax; ++slot) {
        const RecordPlace place = recordPlace(slot);
        DeviceWords &device = image[place.device];
        device[place.word] = 0;
        device[place.word + 1] = 0;
        device[place.word + 2] &= 0x00FF;
    }
}

void RecordVLAN(Module1 &module)
{
    int slot = 0;
    for (int g = 0; g < module.VlanGroupCount; ++g) {
        if (!hasMembers(module, g))
            continue;
        quint16 low = 0;
        quint16 high = 0;
        for (int p = 0; p < 16; ++p) {
            low |= quint16(module.VlanPortMember[g][p]) << p;
            high |= quint16(module.VlanPortMember[g][p + 16]) << p;
        }
        quint16 trunks = 0;
        for (int t = 0; t < kTrunkCount; ++t)
            trunks |= quint16(module.VlanTrunkMember[g][t]) << (kTrunkBitsShift + t);
        const RecordPlace place = recordPlace(slot++);
        DeviceWords &device = module.EepromImage[place.device];
        device[place.word] = high;
        device[place.word + 1] = low;
        device[place.word + 2] |= trunks;
    }
}

void addGroupMasks(Module1 &module, int group)
{
    const PortMask mask = groupMask(module, group);
    for (int p = 0; p < kUserPortCount; ++p) {
        if (module.VlanPortMember[group][p])
            mask.orInto(module.VlanMap, module.PortMap[p]);
    }
}

void VlanMasksToImage(Module1 &module)
{
    for (int g = 0; g < module.VlanGroupCount; ++g)
        addGroupMasks(module, g);
    CompleteVlanMasks(module);
    vlanMapToImage(module);
}

void CompleteVlanMasks(Module1 &module)
{
    const int last = module.Is32Port ? 31 : module.Is1000SX ? 25 : 23;
    auto grouped = [&module](int c) {
        return module.VlanMap[c / 8][2 * (c % 8)] != 0 ||
               module.VlanMap[c / 8][2 * (c % 8) + 1] != 0;
    };
    PortMask common;
    for (int c = 0; c <= last; ++c) {
        if (!grouped(c))
            common.add(c);
    }
    for (int c = 0; c <= last; ++c) {
        if (common.contains(c))
            common.orInto(module.VlanMap, c);
    }
}

} // namespace VlanGroups
