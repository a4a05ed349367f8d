#include "document_reader.h"

#include "config_document_parts.h"

#include <QJsonArray>

#include <algorithm>

namespace ConfigDocument
{

bool DocumentReader::refuse(const QString &path, const QString &reason)
{
    if (!refusal)
        refusal = Refusal{path, reason};
    return false;
}

bool DocumentReader::onlyKeys(const QJsonObject &object, const QString &path,
                              std::initializer_list<const char *> known)
{
    QStringList names;
    for (const char *name : known)
        names << QLatin1String(name);
    return onlyKeys(object, path, names);
}

bool DocumentReader::onlyKeys(const QJsonObject &object, const QString &path,
                              const QStringList &names)
{
    for (const QString &key : object.keys()) {
        if (!names.contains(key))
            return refuse(at(path, key), QStringLiteral("unknown key; known here: %1")
                                             .arg(names.join(QStringLiteral(", "))));
    }
    return true;
}

std::optional<QJsonObject> DocumentReader::object(const QJsonValue &value, const QString &path)
{
    if (!value.isObject()) {
        refuse(path, QStringLiteral("must be an object"));
        return std::nullopt;
    }
    return value.toObject();
}

std::optional<bool> DocumentReader::flag(const QJsonValue &value, const QString &path)
{
    if (!value.isBool()) {
        refuse(path, QStringLiteral("must be true or false"));
        return std::nullopt;
    }
    return value.toBool();
}

std::optional<int> DocumentReader::choice(const QJsonValue &value, const QString &path,
                                          const QStringList &names)
{
    const int index = value.isString() ? int(names.indexOf(value.toString())) : -1;
    if (index < 0) {
        refuse(path,
               QStringLiteral("must be one of \"%1\"").arg(names.join(QStringLiteral("\", \""))));
        return std::nullopt;
    }
    return index;
}

std::optional<int> DocumentReader::number(const QJsonValue &value, const QString &path, int count,
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

std::optional<std::vector<int>> DocumentReader::numbers(const QJsonValue &value,
                                                        const QString &path, int count,
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

std::optional<int> DocumentReader::key(const QString &key, const QString &path, int count,
                                       const QString &what)
{
    const std::optional<int> number = keyNumber(key);
    if (!number || *number < 1 || *number > count) {
        refuse(
            at(path, key),
            QStringLiteral("no %1 %2 here (%1s 1 to %3)").arg(what, printableKey(key)).arg(count));
        return std::nullopt;
    }
    return *number - 1;
}

} // namespace ConfigDocument
