#include "port_summary.h"

#include "several_ports.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace PortSummary
{

namespace
{

// "done", "file problem", "switch unavailable", "transfer failed" or "stopped".
QString outcomeName(ExitStatus status)
{
    if (static_cast<int>(status) > static_cast<int>(ExitStatus::StoppedBySignal))
        return QStringLiteral("stopped");
    switch (status) {
    case ExitStatus::Done:
        return QStringLiteral("done");
    case ExitStatus::FileProblem:
        return QStringLiteral("file problem");
    case ExitStatus::SwitchUnavailable:
        return QStringLiteral("switch unavailable");
    case ExitStatus::TransferFailed:
        return QStringLiteral("transfer failed");
    case ExitStatus::Usage:
    case ExitStatus::Different:
    case ExitStatus::StoppedBySignal:
        break;
    }
    return QStringLiteral("status %1").arg(static_cast<int>(status));
}

// A write's row: what it did to the switch.
void addWriteReport(QJsonObject &port, const PortOutcome &outcome)
{
    if (!outcome.writes)
        return;
    port.insert(QStringLiteral("words_written"), outcome.write.wordsWritten);
    port.insert(QStringLiteral("restarted"), outcome.write.restarted);
    if (outcome.write.wordsDiffering)
        port.insert(QStringLiteral("words_differing"), *outcome.write.wordsDiffering);
    if (outcome.write.backedUp)
        port.insert(QStringLiteral("backup"), outcome.backup);
}

} // namespace

QString table(const std::vector<PortOutcome> &outcomes)
{
    int width = 4;
    for (const PortOutcome &outcome : outcomes)
        width = std::max(width, static_cast<int>(SeveralPorts::shortName(outcome.port).size()));
    const auto row = [width](const QString &port, const QString &outcome, const QString &status,
                             const QString &seconds) {
        return QStringLiteral("%1  %2  %3  %4\n")
            .arg(port, -width)
            .arg(outcome, -18)
            .arg(status, 6)
            .arg(seconds, 8);
    };
    QString text = row(QStringLiteral("port"), QStringLiteral("outcome"), QStringLiteral("status"),
                       QStringLiteral("time s"));
    for (const PortOutcome &outcome : outcomes) {
        text += row(SeveralPorts::shortName(outcome.port), outcomeName(outcome.status),
                    QString::number(static_cast<int>(outcome.status)),
                    QString::number(static_cast<double>(outcome.wallMicros) / 1e6, 'f', 2));
    }
    return text;
}

QByteArray json(const std::vector<PortOutcome> &outcomes)
{
    QJsonArray ports;
    for (const PortOutcome &outcome : outcomes) {
        QJsonObject port{
            {QStringLiteral("port"), outcome.port},
            {QStringLiteral("name"), SeveralPorts::shortName(outcome.port)},
            {QStringLiteral("device"), outcome.device},
            {QStringLiteral("file"), outcome.file},
            {QStringLiteral("outcome"), outcomeName(outcome.status)},
            {QStringLiteral("status"), static_cast<int>(outcome.status)},
            {QStringLiteral("seconds"), static_cast<double>(outcome.wallMicros / 1000) / 1000},
            {QStringLiteral("messages"), QJsonArray::fromStringList(outcome.messages)},
        };
        addWriteReport(port, outcome);
        ports.append(port);
    }
    return QJsonDocument(ports).toJson(QJsonDocument::Indented);
}

ExitStatus overallStatus(const std::vector<PortOutcome> &outcomes)
{
    int highest = 0;
    for (const PortOutcome &outcome : outcomes)
        highest = std::max(highest, static_cast<int>(outcome.status));
    return static_cast<ExitStatus>(highest);
}

} // namespace PortSummary
