#include "config/port_settings_table.h"
#include "config_document_parts.h"
#include "document_reader.h"

#include "image/device_models.h"
#include "image/factory_image.h"

#include <QJsonArray>

#include <algorithm>

// apply: a document read over an opened configuration, refused unless the properties dialog could
// have produced it.
namespace ConfigDocument
{

bool DocumentReader::ports(const QJsonValue &value, std::vector<PortSettings> &ports)
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
        if (!entry || !onlyKeys(*entry, portPath, portSettingKeys()))
            return false;
        PortSettings &port = ports[*p];
        // In the table's order, so that securing a port clears a learning given after it.
        for (const PortSettingRow &row : portSettingRows()) {
            const QString settingKey = QLatin1String(row.key);
            if (!entry->contains(settingKey))
                continue;
            const QJsonValue given = entry->value(settingKey);
            const QString settingPath = at(portPath, settingKey);
            std::optional<int> value;
            if (row.names)
                value = choice(given, settingPath, namesOf(row.names, row.nameCount));
            else if (const std::optional<bool> on = flag(given, settingPath))
                value = int(*on);
            if (!value)
                return false;
            row.set(port, *value);
        }
        const bool learningGiven = entry->contains(QLatin1String("learning"));
        const bool bothGiven = learningGiven && entry->contains(QLatin1String("security"));
        if (port.security && port.learning && (weighRules_ || bothGiven))
            return refuse(at(portPath, QLatin1String(learningGiven ? "learning" : "security")),
                          QStringLiteral("a secured port learns no addresses: security and "
                                         "learning cannot both be on"));
    }
    return true;
}

namespace
{

Applied applyWith(const QJsonObject &document, const SwitchConfiguration &opened, bool weighRules)
{
    DocumentReader reader(opened.model, weighRules);
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
    if (weighRules &&
        !reader.vlanRules(config, opened,
                          vlansGiven ? QString()
                                     : QStringLiteral(" (a group of the input: give \"vlans\" "
                                                      "to replace the groups)")))
        return refused();
    applied.config = config;
    return applied;
}

} // namespace

Applied apply(const QJsonObject &document, const SwitchConfiguration &opened)
{
    return applyWith(document, opened, true);
}

std::optional<Refusal> checkForm(const QJsonObject &document, int model)
{
    const Applied applied =
        applyWith(document, OpenedConfiguration(factoryImage(model), model).settings(), false);
    return applied.config ? std::nullopt : std::optional<Refusal>(applied.refusal);
}

} // namespace ConfigDocument
