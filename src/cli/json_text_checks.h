#pragma once

#include "config_document.h"

#include <QByteArray>

#include <optional>

// What the JSON parser takes but a configuration document must not hold, found in its text. A key
// given twice in one object is taken with its last value: a wrong first "trunks" would hide behind
// a right second one. A number with a fraction or an exponent is taken as the whole number it
// equals (2.0 and 2e0 as 2), though every number of a document is a whole one written plainly.
namespace JsonTextChecks
{

// The first such field in the text, by its document path ("ports.1", "vlans[0].ports[1]") as the
// document's refusals name fields; nothing when there is none. `json` must be a document the JSON
// parser accepted.
std::optional<ConfigDocument::Refusal> firstProblem(const QByteArray &json);

} // namespace JsonTextChecks
