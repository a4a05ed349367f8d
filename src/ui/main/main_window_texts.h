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

// The line that says what is loaded: where the image came from, and whether it changed since.
inline const char *const kSourceCaption = "Configuration :";
inline const char *const kNothingLoaded = "none loaded";
inline QString readFrom(const QString &port, const QString &time)
{
    return QStringLiteral("read from %1 at %2").arg(port, time);
}
inline QString writtenTo(const QString &port, const QString &time)
{
    return QStringLiteral("written to %1 at %2").arg(port, time);
}
inline QString savedAs(const QString &fileName)
{
    return QStringLiteral("saved as %1").arg(fileName);
}
inline QString changedInProperties(const QString &source)
{
    return source + QStringLiteral(", changed in Properties");
}

// The status line after each command; after a failure its message, with the reason behind it.
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
inline QString failed(const QString &message, const QString &reason)
{
    QString line = message.trimmed();
    if (!reason.isEmpty())
        line += QLatin1Char(' ') + QString(reason).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

// Below the system's messages: what they are about.
inline QString noAnswerOn(const QString &port)
{
    return QStringLiteral("No answer on %1.").arg(port);
}
inline QString notAnImage(const QString &path)
{
    return QStringLiteral("%1 does not hold a whole configuration image.").arg(path);
}
inline QString fileIsFor(const QString &path, const QString &model)
{
    return QStringLiteral("%1 is a configuration of the %2.").arg(path, model);
}
inline QString fileOfNoModel(const QString &path)
{
    return QStringLiteral("%1 names none of the three models.").arg(path);
}
// Under "EEPROM writing error ! Please write once again ! ": what went out, then what the switch
// holds (StopMessages::notRestartedHolding).
inline QString wordsSent(int sent, int toSend)
{
    return sent < toSend ? QStringLiteral("%1 of %2 words were sent. ").arg(sent).arg(toSend)
                         : QStringLiteral("All %1 words were sent. ").arg(toSend);
}
inline const char *const kPartOfTheNewOne = "part of the new one";
inline const char *const kTheNewOneUnverified = "the new one, not as it was written";

// The port list.
inline const char *const kPortPlaceholder = "a device, COMn, tcp://HOST:PORT or rfc2217://...";
inline QString portOpens(const QString &device, const QString &variable)
{
    return variable.isEmpty() ? QStringLiteral("Opens %1").arg(device)
                              : QStringLiteral("Opens %1 (named by %2)").arg(device, variable);
}
inline QString badPort(const QString &entry, const QString &problem)
{
    return QStringLiteral("'%1' is not a port (%2).").arg(entry, problem);
}

// Stopping a transfer: Stop, Escape, closing the window, or a signal.
inline const char *const kStop = "Stop";
inline const char *const kStopTip = "Stop the transfer between two words (Esc)";
inline const char *const kStopReadQuestion = "Read is still running. Do you want to stop it?";
inline const char *const kStopWriteQuestion = "Write is still running. Do you want to stop it?";
inline const char *const kStopReadConsequence =
    "The configuration in the window stays as it was; the window closes once Read has stopped.";
inline const char *const kStopWriteConsequence =
    "The switch is not restarted and its EEPROMs may hold part of the new configuration; the "
    "window closes once Write has stopped.";
inline const char *const kReadStopped =
    "Read stopped: the configuration in the window was not changed. The switch was only read.";
inline const char *const kWriteStopped = "Write stopped";
// On standard error, after "Stopped by SIGTERM".
inline const char *const kReadStoppedBySignal = ": the switch was only read.";
inline const char *const kUnsavedLostBySignal =
    ": the settings confirmed in Properties were neither saved nor written.";

} // namespace MainWindowTexts
