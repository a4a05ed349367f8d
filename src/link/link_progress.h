#pragma once

#include <QString>

#include <functional>

// The state of the transfer progress bar: a value 0..100, shown only while a transfer runs, and
// the phase it is in ("Reading device 2 of 4").
struct ProgressState {
    int value = 0;
    bool visible = false;
    QString phase = {};

    bool operator==(const ProgressState &other) const
    {
        return value == other.value && visible == other.visible && phase == other.phase;
    }
    bool operator!=(const ProgressState &other) const { return !(*this == other); }
};

// Called with the new state each time the value, the visibility or the phase changes.
using ProgressCallback = std::function<void(const ProgressState &)>;

// The phases of a transfer, device by device (1-based).
inline QString readingPhase(int device, int devices)
{
    return QStringLiteral("Reading device %1 of %2").arg(device).arg(devices);
}
inline QString writingPhase(int device, int devices)
{
    return QStringLiteral("Writing device %1 of %2").arg(device).arg(devices);
}
inline QString verifyingPhase(int device, int devices)
{
    return QStringLiteral("Verifying device %1 of %2").arg(device).arg(devices);
}
inline QString writingChangesPhase(int words)
{
    return QStringLiteral("Writing %1 changed words").arg(words);
}
