#pragma once

#include "image/image_state.h"

#include <QString>

// VLAN groups: up to 32 sets of user ports and trunks that may reach each other. ImageState holds
// them as vlanGroupCount, vlanPortMember and vlanTrunkMember; the image holds them twice, as group
// records (three words each, by user port) from which they are decoded again, and as the forwarding
// masks of every chip port, which the switch obeys.
namespace VlanGroups
{

// "Group1".."Group32".
QString groupName(int number);
// The members of group `group` (0-based), each followed by a blank: "1 2 17 ", "3 " or "".
QString portText(const ImageState &state, int group);
QString trunkText(const ImageState &state, int group);
bool hasMembers(const ImageState &state, int group);
// Group `group` (0-based) goes: the later groups move up one place. The slot of the last one keeps
// its old data until a group is added there again.
void removeGroup(ImageState &state, int group);

// Group records -> tables. Each device's slots are read up to the first empty one; groups 25 to 32
// live in the second half of device 2's slots.
void decodeVlanGroups(ImageState &state);
// Every record slot emptied: words one and two cleared, word three keeps its bits 0..7.
void emptyRecords(ImageWords &image);
// Tables -> group records, in order. A group without members is skipped, so that it cannot end
// the reading of the groups stored after it. The records were emptied before (clearTrunkSettings).
void recordVlanGroups(ImageState &state);

// Every port of group `group` (0-based) reaches every port of the group: OR-ed into vlanMap.
void addGroupMasks(ImageState &state, int group);
// Groups -> vlanMap (OR-ed into what the trunks put there) -> mask words of the image. Every port a
// group holds reaches all ports of that group, itself included.
void vlanMasksToImage(ImageState &state);
// Ports that no group and no trunk gave a mask form one implicit group with each other.
void completeVlanMasks(ImageState &state);

} // namespace VlanGroups
