#pragma once

// What the VLAN page and its group dialogs say, in one place.
namespace VlanTexts
{

inline const char *const kGroupList = "VLAN Group List";
inline const char *const kGroupNameColumn = "Group Name";
inline const char *const kPortColumn = "Individual Port";
inline const char *const kTrunkColumn = "Trunk";
inline const char *const kAdd = "Add";
inline const char *const kModify = "Modify";
inline const char *const kDelete = "Delete";

} // namespace VlanTexts
