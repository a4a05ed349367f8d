#include "config_document.h"
#include "config_document_parts.h"

#include "config/trunk/trunk_layout.h"
#include "image/device_models.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <iterator>

// Configurations as documents, and documents as text.
namespace ConfigDocument
{

using namespace TrunkLayout;

QString printableKey(const QString &key)
{
    QString shown;
    for (const QChar c : key) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7F && code < 0xA0))
            shown += QStringLiteral("\\u%1").arg(uint(code), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

QString at(const QString &path, const QString &key)
{
    return path.isEmpty() ? printableKey(key) : path + QLatin1Char('.') + printableKey(key);
}

QString item(const QString &path, int index)
{
    return QStringLiteral("%1[%2]").arg(path).arg(index);
}

QString numberOf(int index)
{
    return QString::number(index + 1);
}

QStringList namesOf(const char *const *names, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QLatin1String(names[i]);
    return list;
}

std::optional<int> keyNumber(const QString &key)
{
    bool isNumber = false;
    const int number = key.toInt(&isNumber);
    if (!isNumber || QString::number(number) != key)
        return std::nullopt;
    return number;
}

QStringList portSettingKeys()
{
    QStringList keys;
    for (const PortSettingRow &row : portSettingRows())
        keys << QLatin1String(row.key);
    return keys;
}

QJsonValue portSettingValue(const PortSettingRow &row, const PortSettings &port)
{
    const int value = row.get(port);
    return row.names ? QJsonValue(QLatin1String(row.names[value])) : QJsonValue(value != 0);
}

QByteArray scalarText(const QJsonValue &value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return text.mid(1, text.size() - 2);
}

namespace
{

// The order in which toText writes named keys: these, a port's settings in the table's order,
// then the rest; numbered keys come by value.
const char *const kKeysBeforePortSettings[] = {"format", "version", "model",  "ports",
                                               "trunks", "vlans",   "method", "hash",
                                               "groups", "members", "mapping"};
const char *const kKeysAfterPortSettings[] = {
    "equal",       "settings",     "words",         "path",      "name",
    "device",      "word",         "old",           "new",       "override",
    "description", "manufacturer", "serial_number", "vendor_id", "product_id"};

QJsonArray numbersOf(const std::vector<int> &indexes)
{
    QJsonArray numbers;
    for (int index : indexes)
        numbers.append(index + 1);
    return numbers;
}

int keyRank(const QString &key)
{
    QStringList order = namesOf(kKeysBeforePortSettings, int(std::size(kKeysBeforePortSettings)));
    order << portSettingKeys()
          << namesOf(kKeysAfterPortSettings, int(std::size(kKeysAfterPortSettings)));
    const int rank = int(order.indexOf(key));
    return rank < 0 ? int(order.size()) : rank;
}

} // namespace

QString hashName(int index)
{
    return QLatin1String(hashMethodNames()[index >= 0 && index < kHashMethods ? index : 0]);
}

QStringList orderedKeys(const QJsonObject &object)
{
    QStringList keys = object.keys();
    std::stable_sort(keys.begin(), keys.end(), [](const QString &a, const QString &b) {
        const std::optional<int> na = keyNumber(a), nb = keyNumber(b);
        if (na && nb)
            return *na < *nb;
        if (na || nb)
            return bool(nb);
        return keyRank(a) < keyRank(b);
    });
    return keys;
}

namespace
{

int nesting(const QJsonValue &value)
{
    int deepest = 0;
    if (value.isObject()) {
        for (const QJsonValue &child : value.toObject())
            deepest = std::max(deepest, nesting(child));
    } else if (value.isArray()) {
        for (const QJsonValue &child : value.toArray())
            deepest = std::max(deepest, nesting(child));
    } else {
        return 0;
    }
    return deepest + 1;
}

// The document and its members take a line per entry, and so does anything nested three deep (the
// trunk groups); everything inside stays on one line.
void write(const QJsonValue &value, int level, bool oneLine, QByteArray &out)
{
    if (!value.isObject() && !value.isArray()) {
        out += scalarText(value);
        return;
    }
    const bool object = value.isObject();
    const bool lines = !oneLine && (level <= 1 || nesting(value) >= 3);
    const QStringList keys = object ? orderedKeys(value.toObject()) : QStringList();
    const QJsonArray array = value.toArray();
    const int count = object ? int(keys.size()) : int(array.size());
    out += object ? '{' : '[';
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += lines ? "," : ", ";
        if (lines)
            out += '\n' + QByteArray(2 * (level + 1), ' ');
        if (object)
            out += scalarText(keys[i]) + ": ";
        write(object ? value.toObject().value(keys[i]) : array.at(i), level + 1, !lines, out);
    }
    if (lines && count > 0)
        out += '\n' + QByteArray(2 * level, ' ');
    out += object ? '}' : ']';
}

} // namespace

QString modelName(int model)
{
    return deviceModelInfo(model).commandLineName;
}

QString portListText(const std::vector<int> &userIndexes)
{
    QStringList runs;
    for (std::size_t i = 0, end; i < userIndexes.size(); i = end) {
        for (end = i + 1; end < userIndexes.size() && userIndexes[end] == userIndexes[end - 1] + 1;)
            ++end;
        if (end - i >= 3) {
            runs << QStringLiteral("%1-%2").arg(userIndexes[i] + 1).arg(userIndexes[end - 1] + 1);
            continue;
        }
        for (std::size_t k = i; k < end; ++k)
            runs << numberOf(userIndexes[k]);
    }
    return runs.join(QStringLiteral(", "));
}

QJsonObject fromConfiguration(const SwitchConfiguration &config)
{
    QJsonObject ports;
    for (int p = 0; p < int(config.ports.size()); ++p) {
        QJsonObject entry;
        for (const PortSettingRow &row : portSettingRows())
            entry.insert(QLatin1String(row.key),
                         portSettingValue(row, config.ports[std::size_t(p)]));
        ports.insert(numberOf(p), entry);
    }
    const bool mac = config.method == TrunkMethod::MacAddress;
    QJsonObject groups;
    for (int t = 0; t < kTrunks; ++t) {
        const TrunkSettings &trunk = config.trunks[std::size_t(t)];
        if (!trunk.inUse)
            continue;
        QJsonObject group{{QStringLiteral("members"), numbersOf(trunk.members)}};
        if (!mac) {
            QJsonObject mapping;
            for (int p = 0; p < int(trunk.mapping.size()); ++p) {
                const int through = trunk.mapping[std::size_t(p)];
                mapping.insert(numberOf(p), through < 0 ? QJsonValue() : QJsonValue(through + 1));
            }
            group.insert(QStringLiteral("mapping"), mapping);
        }
        groups.insert(numberOf(t), group);
    }
    QJsonArray vlans;
    for (const VlanGroupSettings &group : config.vlans)
        vlans.append(QJsonObject{{QStringLiteral("ports"), numbersOf(group.ports)},
                                 {QStringLiteral("trunks"), numbersOf(group.trunks)}});
    QJsonObject trunks{{QStringLiteral("method"), QLatin1String(kMethodNames[mac ? 0 : 1])},
                       {QStringLiteral("groups"), groups}};
    // Only a MAC-address-based trunk in use keeps its hash method.
    if (mac && !groups.isEmpty())
        trunks.insert(QStringLiteral("hash"), hashName(config.hashIndex));
    return QJsonObject{{QStringLiteral("format"), QLatin1String(kFormat)},
                       {QStringLiteral("version"), kVersion},
                       {QStringLiteral("model"), modelName(config.model)},
                       {QStringLiteral("ports"), ports},
                       {QStringLiteral("trunks"), trunks},
                       {QStringLiteral("vlans"), vlans}};
}

QByteArray toText(const QJsonValue &value)
{
    QByteArray text;
    write(value, 0, false, text);
    return text + '\n';
}

QString inlineText(const QJsonValue &value)
{
    QByteArray text;
    write(value, 0, true, text);
    return QString::fromUtf8(text);
}

} // namespace ConfigDocument
