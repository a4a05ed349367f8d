#pragma once

#include "config/switch_configuration.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// A switch configuration as a JSON document, the form in which swcfgctl shows, keeps and applies
// configurations. Ports are named by their front-panel numbers, trunks by theirs (1 to 8), and the
// VLAN groups are a list in group order.
namespace ConfigDocument
{

inline const char *const kFormat = "swcfg-config";
constexpr int kVersion = 1;

// "24", "24sx" or "32".
QString modelName(int model);

// User ports as their numbers, runs of three or more as ranges: "1-4, 13, 14".
QString portListText(const std::vector<int> &userIndexes);

// Every key of the document.
QJsonObject fromConfiguration(const SwitchConfiguration &config);

// JSON text in reading order: keys by the document's order (numbers by value), a port, a trunk or
// a group a line, so that two versions of a configuration compare line by line.
QByteArray toText(const QJsonValue &value);
// The keys of an object in the order toText writes them.
QStringList orderedKeys(const QJsonObject &object);
// A value on one line, as toText writes the innermost ones.
QString inlineText(const QJsonValue &value);

// Why a document was refused: the offending field as a path ("ports.7.learning",
// "vlans[2].ports[0]") and what is wrong with it.
struct Refusal {
    QString path;
    QString reason;
};

struct Applied {
    std::optional<SwitchConfiguration> config; // set when the document was accepted
    Refusal refusal;
};

// `document` laid over `opened`, the configuration decoded from the input: a port entry or key
// left out keeps its setting, a `trunks` or `vlans` given replaces all trunks or all groups.
// Refused unless the properties dialog could have produced the result from `opened`.
Applied apply(const QJsonObject &document, const SwitchConfiguration &opened);

// What of `document` can be refused before any configuration is at hand: its format, version and
// model, its keys, and the type and range of every value. A document that passes may still be
// refused by apply, which weighs trunks, groups and secured ports against the configuration.
std::optional<Refusal> checkForm(const QJsonObject &document, int model);

} // namespace ConfigDocument
