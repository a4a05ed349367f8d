#include "config/switch_configuration.h"

#include "config/port_board.h"
#include "config/port_mask.h"
#include "config/properties_codec.h"
#include "image/device_models.h"
#include "image/port_map.h"
#include "image/port_word_codec.h"

#include <algorithm>

using namespace TrunkLayout;
using namespace PortWord;

int portPagePorts(int model)
{
    return deviceModelInfo(model).pagePorts;
}

int switchPorts(int model)
{
    return deviceModelInfo(model).switchPorts();
}

int switchPorts(const ImageState &state)
{
    return state.model().switchPorts();
}

TrunkPageState trunkPageFor(const SwitchConfiguration &config)
{
    TrunkPageState page;
    page.method = config.method;
    page.shownTab = config.method == TrunkMethod::MacAddress ? 1 : 0;
    page.hashIndex = config.hashIndex;
    for (int t = 0; t < kTrunks; ++t) {
        const TrunkSettings &trunk = config.trunks[t];
        if (!trunk.inUse)
            continue;
        auto isMember = [&trunk](int p) {
            return std::find(trunk.members.begin(), trunk.members.end(), p) != trunk.members.end();
        };
        if (config.method == TrunkMethod::MacAddress) {
            page.mac.trunk[t] = true;
            for (int i = 0; i < kMacPortBoxes; ++i)
                page.mac.port[t][i] = isMember(macPortUserIndex(t, i));
        } else {
            page.port.trunk[t] = page.port.mappingEnabled[t] = page.port.mappingDone[t] = true;
            for (int m = 0; m < kMemberBoxes; ++m)
                page.port.member[t][m] = isMember(memberUserIndex(t, m));
        }
    }
    return page;
}

std::vector<int> reachedPorts(const ImageWords &image, int model, int userIndex)
{
    const bool sx = deviceModelInfo(model).hasGigabitModule();
    const PortMask mask = imageMask(image, PortNumbers::chipPortOf(userIndex, sx), sx);
    std::vector<int> reached;
    for (int p = 0; p < switchPorts(model); ++p) {
        if (mask.contains(PortNumbers::chipPortOf(p, sx)))
            reached.push_back(p);
    }
    return reached;
}

OpenedConfiguration::OpenedConfiguration(const ImageWords &image, int model) : model_(model)
{
    state_.applyStartupDefaults();
    state_.setModel(model);
    state_.takeLoadedImage(image);
    PortNumbers::buildPortMaps(state_);
    // The dialog opens showing port 1, which its rules may rewrite.
    quint16 &shown = secondWord(state_.portWords, state_.portMap[0]);
    shown = asShownFirst(shown);
    PropertiesCodec::decode(state_, board_);
    decoded_ = read();
}

void SwitchConfiguration::forgetUnstoredHash()
{
    const bool stored =
        method == TrunkMethod::MacAddress &&
        std::any_of(trunks.begin(), trunks.end(), [](const TrunkSettings &t) { return t.inUse; });
    if (!stored)
        hashIndex = 0;
}

SwitchConfiguration OpenedConfiguration::read() const
{
    SwitchConfiguration config;
    config.model = model_;
    for (int p = 0; p < portPagePorts(model_); ++p)
        config.ports.push_back(PortBoard::settingsOf(state_.portWords, state_.portMap[p]));

    const TrunkPageState &page = board_.state();
    config.method = page.method;
    config.hashIndex = page.hashIndex;
    for (int t = 0; t < kTrunks; ++t) {
        TrunkSettings &trunk = config.trunks[t];
        if (page.method == TrunkMethod::MacAddress && page.mac.trunk[t]) {
            trunk.inUse = true;
            for (int i = 0; i < kMacPortBoxes; ++i) {
                if (page.mac.port[t][i])
                    trunk.members.push_back(macPortUserIndex(t, i));
            }
        }
        if (page.method == TrunkMethod::PortBased && page.port.trunk[t]) {
            trunk.inUse = true;
            for (int m = 0; m < kMemberBoxes; ++m) {
                if (page.port.member[t][m])
                    trunk.members.push_back(memberUserIndex(t, m));
            }
            for (int p = 0; p < switchPorts(model_); ++p) {
                const std::optional<int> member = firstMappedMember(state_, t, p);
                trunk.mapping.push_back(member ? memberUserIndex(t, *member) : -1);
            }
        }
        std::sort(trunk.members.begin(), trunk.members.end());
    }

    for (int g = 0; g < state_.vlanGroupCount; ++g) {
        VlanGroupSettings group;
        for (int p = 0; p < kUserPortCount; ++p) {
            if (state_.vlanPortMember[g][p])
                group.ports.push_back(p);
        }
        for (int t = 0; t < kTrunkCount; ++t) {
            if (state_.vlanTrunkMember[g][t])
                group.trunks.push_back(t);
        }
        config.vlans.push_back(group);
    }
    config.forgetUnstoredHash();
    return config;
}

TrunkPageState OpenedConfiguration::trunkPage(const SwitchConfiguration &wanted)
{
    if (wanted.method == decoded_.method && wanted.hashIndex == decoded_.hashIndex &&
        wanted.trunks == decoded_.trunks)
        return board_.state();

    for (auto &trunk : state_.portTrunkMapping) {
        for (auto &tab : trunk)
            tab.fill(false);
    }
    for (int t = 0; t < kTrunks && wanted.method == TrunkMethod::PortBased; ++t) {
        const TrunkSettings &trunk = wanted.trunks[t];
        for (int p = 0; trunk.inUse && p < int(trunk.mapping.size()); ++p) {
            for (int m = 0; m < kMemberBoxes; ++m) {
                if (trunk.mapping[p] == memberUserIndex(t, m))
                    state_.portTrunkMapping[t][mappingTab(p)][mappingBox(p, m)] = true;
            }
        }
    }
    return trunkPageFor(wanted);
}

const ImageWords &OpenedConfiguration::encode(const SwitchConfiguration &wanted)
{
    for (int p = 0; p < int(wanted.ports.size()) && p < int(decoded_.ports.size()); ++p) {
        if (wanted.ports[p] != decoded_.ports[p])
            PortBoard::changeSettings(state_.portWords, state_.portMap[p], decoded_.ports[p],
                                      wanted.ports[p]);
    }
    const TrunkPageState page = trunkPage(wanted);
    state_.vlanGroupCount = int(std::min<std::size_t>(wanted.vlans.size(), kVlanGroupMax));
    for (int g = 0; g < state_.vlanGroupCount; ++g) {
        state_.vlanPortMember[g].fill(false);
        state_.vlanTrunkMember[g].fill(false);
        for (int p : wanted.vlans[g].ports)
            state_.vlanPortMember[g][p] = true;
        for (int t : wanted.vlans[g].trunks)
            state_.vlanTrunkMember[g][t] = true;
    }
    PropertiesCodec::encode(state_, page);
    return state_.eepromImage;
}
