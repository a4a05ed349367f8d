#pragma once

#include "config/port_settings.h"
#include "config/trunk/trunk_board.h"
#include "image/image_state.h"

#include <tuple>
#include <vector>

// A switch configuration as the properties dialog shows it, as plain data: what the command line
// prints, compares and applies. Ports are user port indexes (front-panel number - 1), trunks
// indexes 0..7 for trunks 1..8.
struct TrunkSettings {
    bool inUse = false;
    std::vector<int> members; // ascending
    // Port-based trunks: the member each port sends through (a user port index), -1 for none.
    std::vector<int> mapping;

    auto tied() const { return std::tie(inUse, members, mapping); }
    bool operator==(const TrunkSettings &o) const { return tied() == o.tied(); }
    bool operator!=(const TrunkSettings &o) const { return !(*this == o); }
};

struct VlanGroupSettings {
    std::vector<int> ports;  // ascending
    std::vector<int> trunks; // ascending

    auto tied() const { return std::tie(ports, trunks); }
    bool operator==(const VlanGroupSettings &o) const { return tied() == o.tied(); }
    bool operator!=(const VlanGroupSettings &o) const { return !(*this == o); }
};

struct SwitchConfiguration {
    int model = 0;
    // The ports of the port page: portPagePorts(model) of them.
    std::vector<PortSettings> ports;
    TrunkMethod method = TrunkMethod::PortBased;
    int hashIndex = 0;
    std::array<TrunkSettings, kTrunkCount> trunks{}; // of the method chosen
    std::vector<VlanGroupSettings> vlans;

    // OK keeps the hash method only while a MAC-address-based trunk is in use; otherwise the
    // image opens again with the first one, and so does this configuration.
    void forgetUnstoredHash();

    auto tied() const { return std::tie(model, ports, method, hashIndex, trunks, vlans); }
    bool operator==(const SwitchConfiguration &o) const { return tied() == o.tied(); }
};

// User ports shown on the port page: 24, or 32 on the 32-port model.
int portPagePorts(int model);
// User ports of the switch, as VLAN groups and trunk mappings count them: 24, 26 or 32.
int switchPorts(int model);
// The same for the model that the flags of `state` stand for.
int switchPorts(const ImageState &state);

// The trunk page as it shows `config`'s trunks: the method and its tab, the hash method, and the
// boxes of the trunks in use (port-based ones with their mapping done). The mappings themselves
// live in ImageState.
TrunkPageState trunkPageFor(const SwitchConfiguration &config);

// The user ports of the model that user port `userIndex` may send to, by the VLAN mask the image
// holds for it.
std::vector<int> reachedPorts(const ImageWords &image, int model, int userIndex);

// An image opened as the properties dialog opens it: the port words and port maps in place, the
// first port shown, the trunks and groups decoded. Its encode is the dialog's OK.
class OpenedConfiguration
{
public:
    OpenedConfiguration(const ImageWords &image, int model);

    const SwitchConfiguration &settings() const { return decoded_; }
    const ImageState &state() const { return state_; }

    // The configuration changed to `wanted`: each port setting that differs is set as a click
    // would set it (the rest of the port's words stays), the trunks and groups become those of
    // `wanted`, and everything is encoded as OK does. `wanted` must be one the dialog could
    // produce. Returns the image.
    const ImageWords &encode(const SwitchConfiguration &wanted);

private:
    SwitchConfiguration read() const;
    TrunkPageState trunkPage(const SwitchConfiguration &wanted);

    int model_;
    ImageState state_;
    TrunkBoard board_;
    SwitchConfiguration decoded_;
};
