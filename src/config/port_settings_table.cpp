#include "config/port_settings_table.h"

#include "config/port_board.h"

#include <iterator>

const std::vector<PortSettingRow> &portSettingRows()
{
    static const std::vector<PortSettingRow> rows = {
        {"security", "Security", nullptr, 2, [](const PortSettings &p) { return int(p.security); },
         [](PortSettings &p, int on) { PortBoard::secure(p, on != 0); }},
        {"learning", "Learning", nullptr, 2, [](const PortSettings &p) { return int(p.learning); },
         [](PortSettings &p, int on) { p.learning = on != 0; }},
        {"storm_control", "Storm control", nullptr, 2,
         [](const PortSettings &p) { return int(p.stormControl); },
         [](PortSettings &p, int on) { p.stormControl = on != 0; }},
        {"flow_control", "Flow control", nullptr, 2,
         [](const PortSettings &p) { return int(p.flowControl); },
         [](PortSettings &p, int on) { p.flowControl = on != 0; }},
        {"link", "Link", kLinkNames, int(std::size(kLinkNames)),
         [](const PortSettings &p) { return int(p.link); },
         [](PortSettings &p, int link) { p.link = LinkSetting(link); }},
    };
    return rows;
}
