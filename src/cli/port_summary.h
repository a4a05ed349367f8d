#pragma once

#include "multi_port_run.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The summary of a read or write on several ports: a row per port with its outcome, exit status
// and time.
namespace PortSummary
{

// A table for a person, a header and a line per port.
QString table(const std::vector<PortOutcome> &outcomes);
// A JSON array, an object per port: port, name, device, file, outcome, status, seconds,
// messages.
QByteArray json(const std::vector<PortOutcome> &outcomes);
// 0 when every port succeeded, otherwise the highest status of any port.
ExitStatus overallStatus(const std::vector<PortOutcome> &outcomes);

} // namespace PortSummary
