#pragma once

#include <QString>

// What the main window says beyond its captions, in one place.
namespace MainWindowTexts
{

inline const char *const kQuitSettingsQuestion =
    "Changes not saved !  Do you want to quit settings ?";
// Asked before Read, Open or closing the window would drop settings confirmed in Properties that
// are neither saved nor written to a switch.
inline const char *const kDiscardQuestion =
    "The settings confirmed in Properties are neither saved nor written to a switch. "
    "Do you want to discard them?";
inline const char *const kReadDiscards = "Read replaces them with the configuration of the switch.";
inline const char *const kOpenDiscards = "Open replaces them with the configuration of the file.";
inline const char *const kCloseDiscards = "They are lost when the program ends.";

// The status line after each command; after a failure it shows the last message instead.
inline QString readDone(int devices, const QString &port)
{
    return QStringLiteral("Read %1 devices from %2").arg(devices).arg(port);
}
inline QString opened(const QString &fileName)
{
    return QStringLiteral("Opened %1").arg(fileName);
}
inline QString saved(const QString &fileName)
{
    return QStringLiteral("Saved %1").arg(fileName);
}
inline const char *const kWritten = "Written and verified; the switch restarted";

} // namespace MainWindowTexts
