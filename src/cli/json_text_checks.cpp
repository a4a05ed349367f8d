#include "json_text_checks.h"

#include "config_document_parts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <vector>

namespace JsonTextChecks
{

namespace
{

struct Container {
    bool object = false;
    QString path;
    QSet<QString> keys;
    QString key; // an object's key whose value comes next
    int index = 0;
    bool expectKey = false;
};

// The string starting at the quote at `at`, its escapes decoded by the parser itself (\u
// sequences and surrogate pairs included); `at` ends past its closing quote.
QString readString(const QByteArray &json, qsizetype &at)
{
    const qsizetype start = at;
    for (++at; at < json.size() && json[at] != '"'; ++at) {
        if (json[at] == '\\')
            ++at;
    }
    ++at;
    const QByteArray quoted = '[' + json.mid(start, at - start) + ']';
    return QJsonDocument::fromJson(quoted).array().at(0).toString();
}

// The number starting at `at`, as written; `at` ends past it.
QByteArray numberAt(const QByteArray &json, qsizetype &at)
{
    const qsizetype start = at;
    const QByteArray numberChars("+-.0123456789eE");
    while (at < json.size() && numberChars.contains(json[at]))
        ++at;
    return json.mid(start, at - start);
}

} // namespace

std::optional<ConfigDocument::Refusal> firstProblem(const QByteArray &json)
{
    std::vector<Container> open;
    const auto valuePath = [&open] {
        if (open.empty())
            return QString();
        const Container &top = open.back();
        return top.object ? ConfigDocument::at(top.path, top.key)
                          : ConfigDocument::item(top.path, top.index);
    };
    for (qsizetype at = 0; at < json.size();) {
        const char c = json[at];
        if (c == '{' || c == '[') {
            open.push_back({c == '{', valuePath(), {}, {}, 0, c == '{'});
            ++at;
        } else if (c == '}' || c == ']') {
            open.pop_back();
            ++at;
        } else if (c == ',') {
            if (!open.empty()) {
                open.back().expectKey = open.back().object;
                ++open.back().index;
            }
            ++at;
        } else if (c == '"') {
            const QString text = readString(json, at);
            if (!open.empty() && open.back().expectKey) {
                Container &top = open.back();
                top.expectKey = false;
                top.key = text;
                if (top.keys.contains(text))
                    return ConfigDocument::Refusal{ConfigDocument::at(top.path, text),
                                                   QStringLiteral("duplicate key")};
                top.keys.insert(text);
            }
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const QByteArray number = numberAt(json, at);
            if (number.contains('.') || number.contains('e') || number.contains('E'))
                return ConfigDocument::Refusal{
                    valuePath(), QStringLiteral("must be written as a whole number, not %1")
                                     .arg(QString::fromLatin1(number))};
        } else {
            ++at;
        }
    }
    return std::nullopt;
}

} // namespace JsonTextChecks
