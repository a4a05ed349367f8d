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

// Modify and Delete without a group selected: the two messages differ, blanks included.
inline const char *const kSelectGroupToModify = " Please select a group ! ";
inline const char *const kSelectGroupToDelete = "Please select a group !";
inline const char *const kNoMatch = "No match found";

inline const char *const kAddTitle = "Add a new VLAN Group";
inline const char *const kModifyTitle = "Modify the VLAN Group";
inline const char *const kPortFrame = "Individual Port";
inline const char *const kTrunkFrame = "Trunk";

} // namespace VlanTexts
