#include "config_document_parts.h"
#include "document_reader.h"

#include "config/trunk/trunk_layout.h"
#include "image/device_models.h"

#include <QJsonArray>

#include <algorithm>

// apply's "trunks": the method, the hash and the trunks in use, as the trunk page allows them.
namespace ConfigDocument
{

using namespace TrunkLayout;

bool DocumentReader::trunks(const QJsonValue &value, SwitchConfiguration &config,
                            const SwitchConfiguration &opened)
{
    const QString path = QStringLiteral("trunks");
    const std::optional<QJsonObject> trunks = object(value, path);
    if (!trunks || !onlyKeys(*trunks, path, {"method", "hash", "groups"}))
        return false;
    if (!trunks->contains(QLatin1String("method")))
        return refuse(at(path, QStringLiteral("method")),
                      QStringLiteral("missing: \"mac\" or \"port\""));
    const std::optional<int> method =
        choice(trunks->value(QLatin1String("method")), at(path, QStringLiteral("method")),
               namesOf(kMethodNames, 2));
    if (!method)
        return false;
    const bool mac = *method == 0;
    config.method = mac ? TrunkMethod::MacAddress : TrunkMethod::PortBased;
    config.hashIndex = 0;
    if (trunks->contains(QLatin1String("hash"))) {
        const std::optional<int> hash =
            choice(trunks->value(QLatin1String("hash")), at(path, QStringLiteral("hash")),
                   namesOf(hashMethodNames().data(), kHashMethods));
        if (!hash)
            return false;
        config.hashIndex = *hash;
    }
    config.trunks = {};

    const QString groupsPath = at(path, QStringLiteral("groups"));
    const std::optional<QJsonObject> groups =
        trunks->contains(QLatin1String("groups"))
            ? object(trunks->value(QLatin1String("groups")), groupsPath)
            : QJsonObject();
    if (!groups)
        return false;
    for (const QString &name : groups->keys()) {
        const QString trunkPath = at(groupsPath, name);
        const std::optional<int> t = key(name, groupsPath, kTrunks, QStringLiteral("trunk"));
        const std::optional<QJsonObject> group =
            t ? object(groups->value(name), trunkPath) : std::nullopt;
        if (!group)
            return false;
        if (mac && group->contains(QLatin1String("mapping")))
            return refuse(at(trunkPath, QStringLiteral("mapping")),
                          QStringLiteral("only port-based trunks have a mapping"));
        if (!onlyKeys(*group, trunkPath, {"members", "mapping"}))
            return false;
        TrunkSettings &trunk = config.trunks[*t];
        trunk.inUse = true;
        const std::optional<std::vector<int>> members = numbers(
            group->value(QLatin1String("members")), at(trunkPath, QStringLiteral("members")),
            switchPorts(model_), QStringLiteral("port"));
        if (!members)
            return false;
        trunk.members = *members;
        if (mac)
            continue;
        const QString mappingPath = at(trunkPath, QStringLiteral("mapping"));
        if (!group->contains(QLatin1String("mapping")))
            return refuse(mappingPath, QStringLiteral("a port-based trunk needs a mapping: every "
                                                      "port to one of its members"));
        const std::optional<QJsonObject> mapping =
            object(group->value(QLatin1String("mapping")), mappingPath);
        if (!mapping)
            return false;
        trunk.mapping.assign(std::size_t(switchPorts(model_)), -1);
        for (const QString &portName : mapping->keys()) {
            const std::optional<int> p =
                key(portName, mappingPath, switchPorts(model_), QStringLiteral("port"));
            if (!p)
                return false;
            const QJsonValue through = mapping->value(portName);
            if (through.isNull())
                continue;
            const std::optional<int> member = number(through, at(mappingPath, portName),
                                                     switchPorts(model_), QStringLiteral("port"));
            if (!member)
                return false;
            trunk.mapping[std::size_t(*p)] = *member;
        }
    }
    // A hash method is kept only while a MAC-address-based trunk is in use: anywhere else it
    // would be dropped, and the switch would spread by another one than the document says.
    const auto inUse = [](const TrunkSettings &trunk) { return trunk.inUse; };
    if (trunks->contains(QLatin1String("hash")) &&
        (!mac || std::none_of(config.trunks.begin(), config.trunks.end(), inUse)))
        return refuse(at(path, QStringLiteral("hash")),
                      QStringLiteral("a hash method applies only while a MAC-address-based "
                                     "trunk is in use"));
    // What the input holds is what the dialog shows on opening and keeps on OK; only a change must
    // be one the dialog could make.
    const bool unchanged = config.method == opened.method && config.hashIndex == opened.hashIndex &&
                           config.trunks == opened.trunks;
    return unchanged || !weighRules_ || trunkRules(config);
}

bool DocumentReader::trunkRules(const SwitchConfiguration &config)
{
    const bool mac = config.method == TrunkMethod::MacAddress;
    for (int t = 0; t < kTrunks; ++t) {
        const TrunkSettings &trunk = config.trunks[t];
        if (!trunk.inUse)
            continue;
        const QString path = at(QStringLiteral("trunks.groups"), numberOf(t));
        if (isModuleTrunk(t) && !deviceModelInfo(model_).moduleTrunks)
            return refuse(path,
                          QStringLiteral("trunk %1 exists on the 32-port model only").arg(t + 1));
        std::vector<int> own;
        for (int i = 0; i < (mac ? kMacPortBoxes : kMemberBoxes); ++i)
            own.push_back(mac ? macPortUserIndex(t, i) : memberUserIndex(t, i));
        std::sort(own.begin(), own.end());
        for (int i = 0; i < int(trunk.members.size()); ++i) {
            if (!std::binary_search(own.begin(), own.end(), trunk.members[i]))
                return refuse(at(path, QStringLiteral("members")),
                              QStringLiteral("port %1 is not one of trunk %2's ports (%3)")
                                  .arg(trunk.members[i] + 1)
                                  .arg(t + 1)
                                  .arg(portListText(own)));
        }
        if (trunk.members.size() < 2)
            return refuse(at(path, QStringLiteral("members")),
                          QStringLiteral("a trunk needs at least two members"));
        if (!mac && !mappingRule(trunk, t, at(path, QStringLiteral("mapping"))))
            return false;
    }
    for (int t = 1; mac && t < kTrunks; t += 2) {
        const TrunkSettings &first = config.trunks[t - 1];
        const TrunkSettings &second = config.trunks[t];
        if (!first.inUse || !second.inUse)
            continue;
        const QString path = QStringLiteral("trunks.groups.%1.members").arg(t + 1);
        for (int i = 0; i < kMacPortBoxes; ++i) {
            const int p = macPortUserIndex(t, i);
            const auto in = [p](const TrunkSettings &trunk) {
                return std::count(trunk.members.begin(), trunk.members.end(), p) > 0;
            };
            if (in(first) && in(second))
                return refuse(path,
                              QStringLiteral("port %1 is in trunk %2 as well").arg(p + 1).arg(t));
            if (!in(first) && !in(second))
                return refuse(path,
                              QStringLiteral("with trunks %1 and %2 both in use, their members "
                                             "share all eight ports between them; port %3 is in "
                                             "neither")
                                  .arg(t)
                                  .arg(t + 1)
                                  .arg(p + 1));
        }
    }
    return true;
}

bool DocumentReader::mappingRule(const TrunkSettings &trunk, int t, const QString &path)
{
    const auto isMember = [&trunk](int p) {
        return std::binary_search(trunk.members.begin(), trunk.members.end(), p);
    };
    for (int p = 0; p < int(trunk.mapping.size()); ++p) {
        const int through = trunk.mapping[std::size_t(p)];
        const QString portPath = at(path, numberOf(p));
        if (through < 0)
            return refuse(portPath,
                          QStringLiteral("port %1 has no member to send through").arg(p + 1));
        if (!isMember(through))
            return refuse(
                portPath,
                QStringLiteral("port %1 is not a member of trunk %2").arg(through + 1).arg(t + 1));
        if (isMember(p) && through != p)
            return refuse(portPath,
                          QStringLiteral("port %1 is a member and must send through itself, not "
                                         "through port %2")
                              .arg(p + 1)
                              .arg(through + 1));
    }
    return true;
}

} // namespace ConfigDocument
