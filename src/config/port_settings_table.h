#pragma once

#include "config/port_settings.h"

#include <vector>

// Every port setting once, in the order documents and tables show them: the configuration
// document's key, the column of the table `swcfgctl show` prints, the names of its values and how
// it is read from and set on PortSettings. The document writer and reader, the document's key
// order and the show table all go by this table.
struct PortSettingRow {
    const char *key;     // in configuration documents: "storm_control"
    const char *caption; // column heading of the show table: "Storm control"
    // A choice's values by name, indexed by value; none for an on/off flag (0 or 1).
    const char *const *names;
    int nameCount;
    int (*get)(const PortSettings &port);
    // Through the rules between settings: securing a port clears its learning.
    void (*set)(PortSettings &port, int value);
};

const std::vector<PortSettingRow> &portSettingRows();

// The names of the links, in the order of LinkSetting.
inline const char *const kLinkNames[] = {"auto", "100-full", "100-half", "10-full", "10-half"};
