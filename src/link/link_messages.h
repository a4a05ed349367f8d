#pragma once

#include "link/wire_protocol.h"

#include <QString>

#include <array>

// What Read and Write tell the user, word for word (blanks included).
namespace LinkMessages
{

inline const char *const kPortOpenError = "COM Port Open Error !";
inline const char *const kFailedToAccess =
    "Failed to access the device ! Please check whether the device is well connected.";
inline const char *const kDevicesNotReady = "Some devices not ready !  Please try again ! ";
inline const char *const kModuleDetected =
    "Module is detected ! This device is not pure 24-Port N-Way Switch !";
inline const char *const kGigabitModuleNotFound = "Gigabit Fiber Module Not Found !";
inline const char *const kEightPortModuleNotFound = "8-Port Module Not Found !";
inline const char *const kWriteOnceAgain = "EEPROM writing error ! Please write once again ! ";
// Every device verified, but the reset that makes the switch load its EEPROMs did not go out.
inline const char *const kNotRestarted =
    "The switch holds the new configuration but has not restarted: restart it to use it.";

// By presence status 1..15: one bit per missing device, bit 3 for the module device.
inline const std::array<const char *, 16> kDevicesNotFound{
    nullptr,
    "Device 0 Not Found !",
    "Device 1 Not Found !",
    "Device 0,1 Not Found !",
    "Device 2 Not Found !",
    "Device 0,2 Not Found !",
    "Device 1,2 Not Found !",
    "Device 0,1,2 Not Found !",
    "Module Device Not Found !",
    "Device 0,3 Not Found !",
    "Device 1,3 Not Found !",
    "Device 0,1,3 Not Found !",
    "Device 2,3 Not Found !",
    "Device 0,2,3 Not Found !",
    "Device 1,2,3 Not Found !",
    "Device 0,1,2,3 Not Found !",
};

inline QString devicesNotFound(int missingDevices)
{
    return QString::fromLatin1(kDevicesNotFound.at(static_cast<std::size_t>(missingDevices)));
}

inline QString eepromReadingFail(int device)
{
    return QStringLiteral("EEPROM %1 Reading Fail !").arg(device);
}

// Why an EEPROM could not be read: the reason below "EEPROM n Reading Fail !".
inline QString bulkAnswerFault(int device, const WireProtocol::BulkAnswerFault &fault)
{
    using WireProtocol::BulkAnswerFault;
    switch (fault.kind) {
    case BulkAnswerFault::None:
        break;
    case BulkAnswerFault::Length:
        if (fault.length == 0)
            return QStringLiteral("device %1 did not answer").arg(device);
        return QStringLiteral("the answer of device %1 was %2 bytes long, %3 expected")
            .arg(device)
            .arg(fault.length)
            .arg(WireProtocol::kBulkAnswerBytes);
    case BulkAnswerFault::NotHexDigit: {
        const auto byte = static_cast<unsigned char>(fault.byte);
        const QString shown = byte > ' ' && byte < 0x7F
                                  ? QStringLiteral("\"%1\"").arg(QChar::fromLatin1(fault.byte))
                                  : QStringLiteral("0x%1").arg(byte, 2, 16, QLatin1Char('0'));
        return QStringLiteral("the answer of device %1 has %2 at byte %3, where a hexadecimal "
                              "digit belongs")
            .arg(device)
            .arg(shown)
            .arg(fault.at + 1);
    }
    }
    return {};
}

inline QString eepromWritingError(int device)
{
    return QStringLiteral("Device %1 EEPROM Writing Error !").arg(device);
}

// Every word was written and answered, but the device gave no answer when read back to verify.
inline QString readBackFailed(int device)
{
    return QStringLiteral("Device %1 EEPROM was written, but reading it back failed !").arg(device);
}

} // namespace LinkMessages
