#include "config_document.h"
#include "config_document_parts.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_membership.h"
#include "image/device_models.h"

#include <QJsonArray>

#include <algorithm>
#include <initializer_list>

// apply: a document read over an opened configuration, refused unless the properties dialog could
// have produced it.
namespace ConfigDocument
{

using namespace TrunkLayout;

namespace
{

QString at(const QString &path, const QString &key)
{
    return path.isEmpty() ? key : path + QLatin1Char('.') + key;
}

QString item(const QString &path, int index)
{
    return QStringLiteral("%1[%2]").arg(path).arg(index);
}

// Reads a document, keeping the first refusal.
class Reader
{
public:
    explicit Reader(int model) : model_(model) {}

    std::optional<Refusal> refusal;

    bool refuse(const QString &path, const QString &reason)
    {
        if (!refusal)
            refusal = Refusal{path, reason};
        return false;
    }

    bool onlyKeys(const QJsonObject &object, const QString &path,
                  std::initializer_list<const char *> known)
    {
        QStringList names;
        for (const char *name : known)
            names << QLatin1String(name);
        for (const QString &key : object.keys()) {
            if (!names.contains(key))
                return refuse(at(path, key), QStringLiteral("unknown key; known here: %1")
                                                 .arg(names.join(QStringLiteral(", "))));
        }
        return true;
    }

    std::optional<QJsonObject> object(const QJsonValue &value, const QString &path)
    {
        if (!value.isObject()) {
            refuse(path, QStringLiteral("must be an object"));
            return std::nullopt;
        }
        return value.toObject();
    }

    std::optional<bool> flag(const QJsonValue &value, const QString &path)
    {
        if (!value.isBool()) {
            refuse(path, QStringLiteral("must be true or false"));
            return std::nullopt;
        }
        return value.toBool();
    }

    // The index of the value in `names`.
    std::optional<int> choice(const QJsonValue &value, const QString &path,
                              const QStringList &names)
    {
        const int index = value.isString() ? int(names.indexOf(value.toString())) : -1;
        if (index < 0) {
            refuse(
                path,
                QStringLiteral("must be one of \"%1\"").arg(names.join(QStringLiteral("\", \""))));
            return std::nullopt;
        }
        return index;
    }

    // A number 1..count, as an index 0..count - 1; `what` names the thing counted.
    std::optional<int> number(const QJsonValue &value, const QString &path, int count,
                              const QString &what)
    {
        const qint64 number = value.isDouble() ? value.toInteger(0) : 0;
        if (number < 1 || number > count) {
            refuse(path, value.isDouble() ? QStringLiteral("no %1 %2 here (%1s 1 to %3)")
                                                .arg(what, QString::fromUtf8(scalarText(value)))
                                                .arg(count)
                                          : QStringLiteral("must be a %1 number").arg(what));
            return std::nullopt;
        }
        return int(number - 1);
    }

    // A list of distinct numbers 1..count, as ascending indexes.
    std::optional<std::vector<int>> numbers(const QJsonValue &value, const QString &path, int count,
                                            const QString &what)
    {
        if (!value.isArray()) {
            refuse(path, QStringLiteral("must be a list of %1 numbers").arg(what));
            return std::nullopt;
        }
        std::vector<int> indexes;
        const QJsonArray array = value.toArray();
        for (int i = 0; i < int(array.size()); ++i) {
            const std::optional<int> index = number(array.at(i), item(path, i), count, what);
            if (!index)
                return std::nullopt;
            if (std::find(indexes.begin(), indexes.end(), *index) != indexes.end()) {
                refuse(item(path, i),
                       QStringLiteral("%1 %2 is listed twice").arg(what).arg(*index + 1));
                return std::nullopt;
            }
            indexes.push_back(*index);
        }
        std::sort(indexes.begin(), indexes.end());
        return indexes;
    }

    // A numbered key 1..count, as an index.
    std::optional<int> key(const QString &key, const QString &path, int count, const QString &what)
    {
        const std::optional<int> number = keyNumber(key);
        if (!number || *number < 1 || *number > count) {
            refuse(at(path, key),
                   QStringLiteral("no %1 %2 here (%1s 1 to %3)").arg(what, key).arg(count));
            return std::nullopt;
        }
        return *number - 1;
    }

    bool ports(const QJsonValue &value, std::vector<PortSettings> &ports);
    bool trunks(const QJsonValue &value, SwitchConfiguration &config,
                const SwitchConfiguration &opened);
    bool vlans(const QJsonValue &value, std::vector<VlanGroupSettings> &groups);
    bool vlanRules(const SwitchConfiguration &config, const SwitchConfiguration &opened,
                   const QString &kept);

private:
    bool trunkRules(const SwitchConfiguration &config);
    bool mappingRule(const TrunkSettings &trunk, int t, const QString &path);

    int model_;
};

bool Reader::ports(const QJsonValue &value, std::vector<PortSettings> &ports)
{
    const QString path = QStringLiteral("ports");
    const std::optional<QJsonObject> entries = object(value, path);
    if (!entries)
        return false;
    for (const QString &name : entries->keys()) {
        const std::optional<int> p = key(name, path, portPagePorts(model_), QStringLiteral("port"));
        const QString portPath = at(path, name);
        const std::optional<QJsonObject> entry =
            p ? object(entries->value(name), portPath) : std::nullopt;
        if (!entry || !onlyKeys(*entry, portPath,
                                {"security", "learning", "storm_control", "flow_control", "link"}))
            return false;
        PortSettings &port = ports[*p];
        const std::pair<const char *, bool *> flags[] = {{"security", &port.security},
                                                         {"learning", &port.learning},
                                                         {"storm_control", &port.stormControl},
                                                         {"flow_control", &port.flowControl}};
        const bool wasSecured = port.security;
        for (const auto &[flagName, setting] : flags) {
            const QString flagKey = QLatin1String(flagName);
            if (!entry->contains(flagKey))
                continue;
            const std::optional<bool> on = flag(entry->value(flagKey), at(portPath, flagKey));
            if (!on)
                return false;
            *setting = *on;
        }
        if (entry->contains(QLatin1String("link"))) {
            const std::optional<int> link =
                choice(entry->value(QLatin1String("link")), at(portPath, QStringLiteral("link")),
                       namesOf(kLinkNames, 5));
            if (!link)
                return false;
            port.link = kLinks[*link];
        }
        // Securing a port clears and locks its learning box.
        const bool learningGiven = entry->contains(QLatin1String("learning"));
        if (port.security && !wasSecured && !learningGiven)
            port.learning = false;
        if (port.security && port.learning)
            return refuse(at(portPath, QLatin1String(learningGiven ? "learning" : "security")),
                          QStringLiteral("a secured port learns no addresses: security and "
                                         "learning cannot both be on"));
    }
    return true;
}

bool Reader::trunks(const QJsonValue &value, SwitchConfiguration &config,
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
            kUserPortCount, QStringLiteral("port"));
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
            const std::optional<int> member =
                number(through, at(mappingPath, portName), kUserPortCount, QStringLiteral("port"));
            if (!member)
                return false;
            trunk.mapping[std::size_t(*p)] = *member;
        }
    }
    config.forgetUnstoredHash();
    // What the input holds is what the dialog shows on opening and keeps on OK; only a change must
    // be one the dialog could make.
    const bool unchanged = config.method == opened.method && config.hashIndex == opened.hashIndex &&
                           config.trunks == opened.trunks;
    return unchanged || trunkRules(config);
}

bool Reader::trunkRules(const SwitchConfiguration &config)
{
    const bool mac = config.method == TrunkMethod::MacAddress;
    for (int t = 0; t < kTrunks; ++t) {
        const TrunkSettings &trunk = config.trunks[t];
        if (!trunk.inUse)
            continue;
        const QString path = at(QStringLiteral("trunks.groups"), numberOf(t));
        if (t >= kTrunks - 2 && model_ != Model32NWay)
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

bool Reader::mappingRule(const TrunkSettings &trunk, int t, const QString &path)
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
            return refuse(
                portPath,
                QStringLiteral("port %1 is a member and sends through itself").arg(p + 1));
    }
    return true;
}

bool Reader::vlans(const QJsonValue &value, std::vector<VlanGroupSettings> &groups)
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

bool Reader::vlanRules(const SwitchConfiguration &config, const SwitchConfiguration &opened,
                       const QString &kept)
{
    Module1 module;
    module.Is32Port = model_ == Model32NWay;
    module.Is1000SX = model_ == Model24Sx;
    const VlanMembership::Choices choices = VlanMembership::available(module, trunkPageFor(config));
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
                              (t >= 6 && !module.Is32Port
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

} // namespace

Applied apply(const QJsonObject &document, const SwitchConfiguration &opened)
{
    Reader reader(opened.model);
    Applied applied;
    const auto refused = [&reader, &applied] {
        applied.refusal = *reader.refusal;
        return applied;
    };
    // The first three keys say what the rest means.
    const auto expect = [&document, &reader](const char *key, const QJsonValue &wanted,
                                             const QString &reason) {
        const QJsonValue value = document.value(QLatin1String(key));
        if (value == wanted)
            return true;
        return reader.refuse(QLatin1String(key),
                             value.isUndefined()
                                 ? QStringLiteral("missing: %1").arg(inlineText(wanted))
                                 : reason.arg(inlineText(value)));
    };
    const QString name = modelName(opened.model);
    if (!expect("format", QLatin1String(kFormat),
                QStringLiteral("%1 is not a configuration of swcfg: it must be \"") +
                    QLatin1String(kFormat) + QLatin1Char('"')) ||
        !expect("version", kVersion,
                QStringLiteral("version %1 is not known; swcfgctl reads version ") +
                    QString::number(kVersion)) ||
        !reader.onlyKeys(document, QString(),
                         {"format", "version", "model", "ports", "trunks", "vlans"}) ||
        !expect("model", name,
                QStringLiteral("the document is for model %1; --model says ") + name))
        return refused();

    SwitchConfiguration config = opened;
    if (document.contains(QLatin1String("ports")) &&
        !reader.ports(document.value(QLatin1String("ports")), config.ports))
        return refused();
    if (document.contains(QLatin1String("trunks")) &&
        !reader.trunks(document.value(QLatin1String("trunks")), config, opened))
        return refused();
    const bool vlansGiven = document.contains(QLatin1String("vlans"));
    if (vlansGiven && !reader.vlans(document.value(QLatin1String("vlans")), config.vlans))
        return refused();
    if (!reader.vlanRules(config, opened,
                          vlansGiven ? QString()
                                     : QStringLiteral(" (a group of the input: give \"vlans\" "
                                                      "to replace the groups)")))
        return refused();
    applied.config = config;
    return applied;
}

} // namespace ConfigDocument
