#pragma once

#include "config/port_settings_table.h"
#include "config/switch_configuration.h"

#include <QByteArray>
#include <QJsonValue>
#include <QStringList>

#include <optional>

// What writing and reading configuration documents share: the names of settings in a document
// and how numbers and single values are written.
namespace ConfigDocument
{

inline const char *const kMethodNames[] = {"mac", "port"};

// A key as messages show it: a control character as its JSON escape ("\u0000"), so that a key
// cannot cut or garble the line it is printed on.
QString printableKey(const QString &key);
// Where a value is in a document: "path.key", or "key" at the top; "path[index]".
QString at(const QString &path, const QString &key);
QString item(const QString &path, int index);
// The hash method's name for its index; the first one's for an index out of range.
QString hashName(int index);
// A port or trunk index as its number: "1" for 0.
QString numberOf(int index);
QStringList namesOf(const char *const *names, int count);
// The keys of a port's entry, in the table's order.
QStringList portSettingKeys();
// A port setting's value as a document holds it: a name, or true and false for a flag.
QJsonValue portSettingValue(const PortSettingRow &row, const PortSettings &port);
// The number a key names, when it is written plainly ("7", not "07" or "+7").
std::optional<int> keyNumber(const QString &key);
// A single value (number, string, true, false, null) as JSON text.
QByteArray scalarText(const QJsonValue &value);

} // namespace ConfigDocument
