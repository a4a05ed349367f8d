#include "config_document_parts.h"
#include "document_reader.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_membership.h"
#include "image/device_models.h"
#include "image/image_state.h"

#include <QJsonArray>

#include <algorithm>

// apply's "vlans": the groups, and whether the groups kept or given fit the trunks.
namespace ConfigDocument
{

using namespace TrunkLayout;

bool DocumentReader::vlans(const QJsonValue &value, std::vector<VlanGroupSettings> &groups)
{
    const QString path = QStringLiteral("vlans");
    if (!value.isArray())
        return refuse(path, QStringLiteral("must be a list of groups"));
    const QJsonArray list = value.toArray();
    if (list.size() > kVlanGroupMax)
        return refuse(path, QStringLiteral("%1 groups; there can be at most %2")
                                .arg(list.size())
                                .arg(kVlanGroupMax));
    groups.clear();
    for (int g = 0; g < int(list.size()); ++g) {
        const QString groupPath = item(path, g);
        const std::optional<QJsonObject> group = object(list.at(g), groupPath);
        if (!group || !onlyKeys(*group, groupPath, {"ports", "trunks"}))
            return false;
        VlanGroupSettings settings;
        for (const auto &[name, members, count] :
             {std::tuple{"ports", &settings.ports, kUserPortCount},
              std::tuple{"trunks", &settings.trunks, kTrunks}}) {
            const QString membersPath = at(groupPath, QLatin1String(name));
            const std::optional<std::vector<int>> read =
                group->contains(QLatin1String(name))
                    ? numbers(group->value(QLatin1String(name)), membersPath, count,
                              QLatin1String(name).chopped(1))
                    : std::vector<int>();
            if (!read)
                return false;
            *members = *read;
        }
        groups.push_back(settings);
    }
    return true;
}

bool DocumentReader::vlanRules(const SwitchConfiguration &config, const SwitchConfiguration &opened,
                               const QString &kept)
{
    ImageState state;
    state.setModel(model_);
    const VlanMembership::Choices choices = VlanMembership::available(state, trunkPageFor(config));
    const bool sameTrunks = config.method == opened.method && config.trunks == opened.trunks;
    for (int g = 0; g < int(config.vlans.size()); ++g) {
        const VlanGroupSettings &group = config.vlans[std::size_t(g)];
        if (sameTrunks && g < int(opened.vlans.size()) && group == opened.vlans[std::size_t(g)])
            continue;
        const QString path = item(QStringLiteral("vlans"), g);
        for (int i = 0; i < int(group.trunks.size()); ++i) {
            const int t = group.trunks[std::size_t(i)];
            if (!choices.trunks[std::size_t(t)])
                return refuse(at(path, QStringLiteral("trunks")),
                              (TrunkLayout::isModuleTrunk(t) && !state.model().moduleTrunks
                                   ? QStringLiteral("trunk %1 exists on the 32-port model only")
                                   : QStringLiteral("trunk %1 is not in use"))
                                      .arg(t + 1) +
                                  kept);
        }
        for (int i = 0; i < int(group.ports.size()); ++i) {
            const int p = group.ports[std::size_t(i)];
            if (p >= switchPorts(model_))
                return refuse(at(path, QStringLiteral("ports")),
                              QStringLiteral("no port %1 on this model (ports 1 to %2)")
                                      .arg(p + 1)
                                      .arg(switchPorts(model_)) +
                                  kept);
            if (!choices.ports[std::size_t(p)])
                return refuse(at(path, QStringLiteral("ports")),
                              QStringLiteral("port %1 is a member of a trunk in use; the group "
                                             "can hold the trunk instead")
                                      .arg(p + 1) +
                                  kept);
        }
        if (group.ports.size() + group.trunks.size() < 2)
            return refuse(path,
                          QStringLiteral("a group needs at least two members (ports and trunks)") +
                              kept);
    }
    return true;
}

} // namespace ConfigDocument
