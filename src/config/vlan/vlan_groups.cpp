#include "config/vlan/vlan_groups.h"

#include "config/port_mask.h"
#include "config/switch_configuration.h"

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

void addGroup(ImageState &state, const DeviceWords &device, int word)
{
    const int g = state.vlanGroupCount++;
    state.vlanPortMember[g].fill(false);
    state.vlanTrunkMember[g].fill(false);
    for (int i = 0; i < 16; ++i) {
        state.vlanPortMember[g][i] = device[word + 1] >> i & 1;
        state.vlanPortMember[g][i + 16] = device[word] >> i & 1;
    }
    for (int t = 0; t < kTrunkCount; ++t)
        state.vlanTrunkMember[g][t] = device[word + 2] >> (kTrunkBitsShift + t) & 1;
}

PortMask groupMask(const ImageState &state, int group)
{
    PortMask mask;
    for (int p = 0; p < kUserPortCount; ++p) {
        if (state.vlanPortMember[group][p])
            mask.add(state.portMap[p]);
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

QString portText(const ImageState &state, int group)
{
    return memberText(state.vlanPortMember[group].data(), kUserPortCount);
}

QString trunkText(const ImageState &state, int group)
{
    return memberText(state.vlanTrunkMember[group].data(), kTrunkCount);
}

bool hasMembers(const ImageState &state, int group)
{
    for (bool member : state.vlanPortMember[group]) {
        if (member)
            return true;
    }
    for (bool member : state.vlanTrunkMember[group]) {
        if (member)
            return true;
    }
    return false;
}

void removeGroup(ImageState &state, int group)
{
    for (int k = group + 1; k < state.vlanGroupCount; ++k) {
        state.vlanPortMember[k - 1] = state.vlanPortMember[k];
        state.vlanTrunkMember[k - 1] = state.vlanTrunkMember[k];
    }
    --state.vlanGroupCount;
}

void decodeVlanGroups(ImageState &state)
{
    state.vlanGroupCount = 0;
    for (int block = 0; block < 4; ++block) {
        for (int m = 0; m < kSlotsPerDevice; ++m) {
            const RecordPlace place = recordPlace(block * kSlotsPerDevice + m);
            const DeviceWords &device = state.eepromImage[place.device];
            if (recordEmpty(device, place.word))
                break;
            addGroup(state, device, place.word);
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

void recordVlanGroups(ImageState &state)
{
    int slot = 0;
    for (int g = 0; g < state.vlanGroupCount; ++g) {
        if (!hasMembers(state, g))
            continue;
        quint16 low = 0;
        quint16 high = 0;
        for (int p = 0; p < 16; ++p) {
            low |= quint16(state.vlanPortMember[g][p]) << p;
            high |= quint16(state.vlanPortMember[g][p + 16]) << p;
        }
        quint16 trunks = 0;
        for (int t = 0; t < kTrunkCount; ++t)
            trunks |= quint16(state.vlanTrunkMember[g][t]) << (kTrunkBitsShift + t);
        const RecordPlace place = recordPlace(slot++);
        DeviceWords &device = state.eepromImage[place.device];
        device[place.word] = high;
        device[place.word + 1] = low;
        device[place.word + 2] |= trunks;
    }
}

void addGroupMasks(ImageState &state, int group)
{
    const PortMask mask = groupMask(state, group);
    for (int p = 0; p < kUserPortCount; ++p) {
        if (state.vlanPortMember[group][p])
            mask.orInto(state.vlanMap, state.portMap[p]);
    }
}

void vlanMasksToImage(ImageState &state)
{
    for (int g = 0; g < state.vlanGroupCount; ++g)
        addGroupMasks(state, g);
    completeVlanMasks(state);
    vlanMapToImage(state);
}

void completeVlanMasks(ImageState &state)
{
    const int last = switchPorts(state) - 1;
    auto grouped = [&state](int c) {
        return state.vlanMap[c / 8][2 * (c % 8)] != 0 || state.vlanMap[c / 8][2 * (c % 8) + 1] != 0;
    };
    PortMask common;
    for (int c = 0; c <= last; ++c) {
        if (!grouped(c))
            common.add(c);
    }
    for (int c = 0; c <= last; ++c) {
        if (common.contains(c))
            common.orInto(state.vlanMap, c);
    }
}

} // namespace VlanGroups
