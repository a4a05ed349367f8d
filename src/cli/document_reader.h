#pragma once

#include "config_document.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <vector>

struct PortSettings;
struct SwitchConfiguration;
struct TrunkSettings;
struct VlanGroupSettings;

// Reading a configuration document for apply: each section is read over the opened configuration
// and refused unless the properties dialog could have produced it.
namespace ConfigDocument
{

// Reads a document, keeping the first refusal.
class DocumentReader
{
public:
    // `weighRules`: false reads only the document's form (keys, types and ranges), leaving out
    // every rule that weighs it against the opened configuration.
    explicit DocumentReader(int model, bool weighRules = true)
        : model_(model), weighRules_(weighRules)
    {
    }

    std::optional<Refusal> refusal;

    // Keeps the first refusal; always false, so that a check can end with it.
    bool refuse(const QString &path, const QString &reason);
    bool onlyKeys(const QJsonObject &object, const QString &path,
                  std::initializer_list<const char *> known);
    bool onlyKeys(const QJsonObject &object, const QString &path, const QStringList &known);
    std::optional<QJsonObject> object(const QJsonValue &value, const QString &path);
    std::optional<bool> flag(const QJsonValue &value, const QString &path);
    // The index of the value in `names`.
    std::optional<int> choice(const QJsonValue &value, const QString &path,
                              const QStringList &names);
    // A number 1..count, as an index 0..count - 1; `what` names the thing counted.
    std::optional<int> number(const QJsonValue &value, const QString &path, int count,
                              const QString &what);
    // A list of distinct numbers 1..count, as ascending indexes.
    std::optional<std::vector<int>> numbers(const QJsonValue &value, const QString &path, int count,
                                            const QString &what);
    // A numbered key 1..count, as an index.
    std::optional<int> key(const QString &key, const QString &path, int count, const QString &what);

    // The sections; each is in the file named after it.
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
    bool weighRules_;
};

} // namespace ConfigDocument
