#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A JSON object that names a key twice is taken by the parser with its last value: a wrong first
// "trunks" would hide behind a right second one. Documents with such keys are refused instead.
namespace JsonDuplicates
{

// The document path of the first key given a second time in its object ("ports.1",
// "vlans[0].ports"), as the document's refusals name fields; nothing when every key is single.
// `json` must be a document the JSON parser accepted.
std::optional<QString> firstDuplicateKey(const QByteArray &json);

} // namespace JsonDuplicates
