#pragma once

#include "config/switch_configuration.h"

#include <QJsonObject>
#include <QString>

#include <vector>

// What show and diff print.
namespace ConfigReport
{

// The configuration for a person: the model, a table of the ports, the trunks, the VLAN groups,
// then the VLAN mask every port of the switch ends with in `image`.
QString describe(const SwitchConfiguration &config, const ImageWords &image);

// A setting that differs between two documents: its path and its two values (undefined where a
// document has no such entry).
struct SettingChange {
    QString path;
    QJsonValue before;
    QJsonValue after;
};
std::vector<SettingChange> settingChanges(const QJsonObject &before, const QJsonObject &after);

struct WordChange {
    int device;
    int word;
    quint16 before;
    quint16 after;
};
// The words of the model's devices that differ.
std::vector<WordChange> wordChanges(const ImageWords &before, const ImageWords &after, int model);

// "ports.7.learning: true -> false" lines, then "1 24: 0x4C5F -> 0x4CD3" lines (device, word).
QString diffText(const std::vector<SettingChange> &settings, const std::vector<WordChange> &words);
QJsonObject diffJson(const std::vector<SettingChange> &settings,
                     const std::vector<WordChange> &words);

} // namespace ConfigReport
