#pragma once

#include <tuple>

// The link of a port: auto-negotiation, or a forced rate and duplex.
enum class LinkSetting { Auto, Full100, Half100, Full10, Half10 };

// One port's settings as the port page shows them. A new setting is a member here, in tied()
// and a row of the table of port settings.
struct PortSettings {
    bool security = false;
    bool learning = true;
    bool stormControl = false;
    bool flowControl = true;
    LinkSetting link = LinkSetting::Auto;

    // Every member: equality compares them all, so a change to any of them is never lost.
    auto tied() const { return std::tie(security, learning, stormControl, flowControl, link); }
    bool operator==(const PortSettings &o) const { return tied() == o.tied(); }
    bool operator!=(const PortSettings &o) const { return !(*this == o); }
};
