#include "config_report.h"

#include "config/port_settings_table.h"
#include "config/trunk/trunk_layout.h"
#include "config_document.h"
#include "config_document_parts.h"
#include "image/device_models.h"

#include <QJsonArray>

namespace ConfigReport
{

namespace
{

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

// A column per port setting, each as wide as its heading but the last.
QString portTable(const SwitchConfiguration &config)
{
    const std::vector<PortSettingRow> &rows = portSettingRows();
    QString text = QStringLiteral("Port");
    for (const PortSettingRow &row : rows)
        text += QStringLiteral("  ") + QLatin1String(row.caption);
    text += QLatin1Char('\n');
    for (int p = 0; p < int(config.ports.size()); ++p) {
        text += QStringLiteral("%1").arg(p + 1, 4);
        for (std::size_t c = 0; c < rows.size(); ++c) {
            const int value = rows[c].get(config.ports[std::size_t(p)]);
            const QString shown =
                rows[c].names ? QLatin1String(rows[c].names[value]) : onOff(value != 0);
            const bool last = c + 1 == rows.size();
            text += QStringLiteral("  ") +
                    (last ? shown : shown.leftJustified(int(qstrlen(rows[c].caption))));
        }
        text += QLatin1Char('\n');
    }
    return text;
}

// Each member with the ports that send to the trunk through it.
QString mappingLines(const TrunkSettings &trunk)
{
    QString text;
    for (int member : trunk.members) {
        std::vector<int> ports;
        for (int p = 0; p < int(trunk.mapping.size()); ++p) {
            if (trunk.mapping[std::size_t(p)] == member)
                ports.push_back(p);
        }
        text += QStringLiteral("    through %1: %2\n")
                    .arg(member + 1)
                    .arg(ports.empty() ? QStringLiteral("-") : ConfigDocument::portListText(ports));
    }
    std::vector<int> unmapped;
    for (int p = 0; p < int(trunk.mapping.size()); ++p) {
        if (trunk.mapping[std::size_t(p)] < 0)
            unmapped.push_back(p);
    }
    if (!unmapped.empty())
        text +=
            QStringLiteral("    through none: %1\n").arg(ConfigDocument::portListText(unmapped));
    return text;
}

QString trunkLines(const SwitchConfiguration &config)
{
    const bool mac = config.method == TrunkMethod::MacAddress;
    QString text = mac ? QStringLiteral("Trunks: MAC address based, hash %1\n")
                             .arg(ConfigDocument::hashName(config.hashIndex))
                       : QStringLiteral("Trunks: port based\n");
    bool any = false;
    for (int t = 0; t < TrunkLayout::kTrunks; ++t) {
        const TrunkSettings &trunk = config.trunks[std::size_t(t)];
        if (!trunk.inUse)
            continue;
        any = true;
        text += QStringLiteral("  Trunk%1: ports %2\n")
                    .arg(t + 1)
                    .arg(ConfigDocument::portListText(trunk.members));
        if (!mac)
            text += mappingLines(trunk);
    }
    return any ? text : text + QStringLiteral("  none in use\n");
}

QString groupLines(const SwitchConfiguration &config)
{
    QString text = QStringLiteral("VLAN groups:\n");
    for (int g = 0; g < int(config.vlans.size()); ++g) {
        const VlanGroupSettings &group = config.vlans[std::size_t(g)];
        QStringList parts;
        if (!group.ports.empty())
            parts << QStringLiteral("ports ") + ConfigDocument::portListText(group.ports);
        if (!group.trunks.empty())
            parts << QStringLiteral("trunks ") + ConfigDocument::portListText(group.trunks);
        text += QStringLiteral("  Group%1: %2\n")
                    .arg(g + 1)
                    .arg(parts.isEmpty() ? QStringLiteral("no members")
                                         : parts.join(QStringLiteral("; ")));
    }
    return config.vlans.empty() ? text + QStringLiteral("  none\n") : text;
}

QString maskLines(const SwitchConfiguration &config, const ImageWords &image)
{
    QString text = QStringLiteral("VLAN masks (the ports each port may send to):\n");
    for (int p = 0; p < switchPorts(config.model); ++p) {
        const std::vector<int> reached = reachedPorts(image, config.model, p);
        text += QStringLiteral("  %1%2\n")
                    .arg(QStringLiteral("Port %1:").arg(p + 1).leftJustified(9))
                    .arg(reached.empty() ? QStringLiteral("none")
                                         : ConfigDocument::portListText(reached));
    }
    return text;
}

void compare(const QString &path, const QJsonValue &before, const QJsonValue &after,
             std::vector<SettingChange> &changes)
{
    if (before == after)
        return;
    if (before.isObject() && after.isObject()) {
        const QJsonObject a = before.toObject(), b = after.toObject();
        QJsonObject keys = a;
        for (auto it = b.begin(); it != b.end(); ++it)
            keys.insert(it.key(), it.value());
        for (const QString &key : ConfigDocument::orderedKeys(keys)) {
            compare(ConfigDocument::at(path, key), a.value(key), b.value(key), changes);
        }
        return;
    }
    // Lists of groups go entry by entry; lists of numbers are one setting.
    const auto ofObjects = [](const QJsonValue &value) {
        return value.isArray() && !value.toArray().isEmpty() && value.toArray().at(0).isObject();
    };
    if (before.isArray() && after.isArray() && (ofObjects(before) || ofObjects(after))) {
        const QJsonArray a = before.toArray(), b = after.toArray();
        for (int i = 0; i < int(std::max(a.size(), b.size())); ++i) {
            compare(ConfigDocument::item(path, i),
                    i < a.size() ? a.at(i) : QJsonValue(QJsonValue::Undefined),
                    i < b.size() ? b.at(i) : QJsonValue(QJsonValue::Undefined), changes);
        }
        return;
    }
    changes.push_back({path, before, after});
}

QString valueText(const QJsonValue &value)
{
    return value.isUndefined() ? QStringLiteral("(none)") : ConfigDocument::inlineText(value);
}

QString wordText(quint16 word)
{
    return QStringLiteral("0x") +
           QString::number(word, 16).rightJustified(4, QLatin1Char('0')).toUpper();
}

} // namespace

QString describe(const SwitchConfiguration &config, const ImageWords &image)
{
    return QStringLiteral("Model: %1\n\n").arg(deviceModelInfo(config.model).listText) +
           portTable(config) + QLatin1Char('\n') + trunkLines(config) + QLatin1Char('\n') +
           groupLines(config) + QLatin1Char('\n') + maskLines(config, image);
}

std::vector<SettingChange> settingChanges(const QJsonObject &before, const QJsonObject &after)
{
    std::vector<SettingChange> changes;
    compare(QString(), before, after, changes);
    return changes;
}

std::vector<WordChange> wordChanges(const ImageWords &before, const ImageWords &after, int model)
{
    std::vector<WordChange> changes;
    for (int d = 0; d < deviceCountOf(model); ++d) {
        for (int w = 0; w < kWordsPerDevice; ++w) {
            const quint16 a = before[std::size_t(d)][std::size_t(w)];
            const quint16 b = after[std::size_t(d)][std::size_t(w)];
            if (a != b)
                changes.push_back({d, w, a, b});
        }
    }
    return changes;
}

QString diffText(const std::vector<SettingChange> &settings, const std::vector<WordChange> &words)
{
    QString text;
    for (const SettingChange &change : settings)
        text += QStringLiteral("%1: %2 -> %3\n")
                    .arg(change.path, valueText(change.before), valueText(change.after));
    for (const WordChange &change : words)
        text += QStringLiteral("%1 %2: %3 -> %4\n")
                    .arg(change.device)
                    .arg(change.word)
                    .arg(wordText(change.before), wordText(change.after));
    return text;
}

QJsonObject diffJson(const std::vector<SettingChange> &settings,
                     const std::vector<WordChange> &words)
{
    QJsonArray settingList;
    for (const SettingChange &change : settings)
        settingList.append(QJsonObject{
            {QStringLiteral("path"), change.path},
            {QStringLiteral("old"), change.before.isUndefined() ? QJsonValue() : change.before},
            {QStringLiteral("new"), change.after.isUndefined() ? QJsonValue() : change.after}});
    QJsonArray wordList;
    for (const WordChange &change : words)
        wordList.append(QJsonObject{{QStringLiteral("device"), change.device},
                                    {QStringLiteral("word"), change.word},
                                    {QStringLiteral("old"), change.before},
                                    {QStringLiteral("new"), change.after}});
    return QJsonObject{{QStringLiteral("equal"), settings.empty() && words.empty()},
                       {QStringLiteral("settings"), settingList},
                       {QStringLiteral("words"), wordList}};
}

} // namespace ConfigReport
