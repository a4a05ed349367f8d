#pragma once

#include "image/image_state.h"

#include <QByteArray>

#include <optional>

// The management controller's command set: short ASCII commands, decimal fields, CR at the end of
// the word write and read commands.
namespace WireProtocol
{

constexpr char kCarriageReturn = '\r';

// Register spaces of a device.
constexpr int kEepromSpace = 0;
constexpr int kRegisterSpace = 1;

// Answer lengths the link waits for.
constexpr int kWriteAnswerMinBytes = 11; // contents not examined
constexpr int kRegisterAnswerBytes = 6;  // bytes 4 and 5 carry the two hex digits of the byte
constexpr int kProbeAnswerBytes = 6;     // "ns" and one byte per device
constexpr int kBulkReadBytes = 256;      // one whole EEPROM
constexpr int kBulkAnswerHeaderBytes = 4;
constexpr int kBulkAnswerBytes = kBulkAnswerHeaderBytes + 4 * kWordsPerDevice; // 516

// n, 0..999, as exactly three digits, hundreds first.
QByteArray threeDigits(int n);

// "no", device, space, 3-digit address, 3-digit high byte, 3-digit low byte, CR.
QByteArray writeWordCommand(int device, int space, int address, quint16 value);
// "nr", device, space, 3-digit address, 3-digit byte count, CR.
QByteArray readCommand(int device, int space, int address, int byteCount);
// The presence probe "ns" and the reset "j", neither with CR.
QByteArray probeCommand();
QByteArray resetCommand();

// "0".."9" and "A".."F" (upper case only) to 0..15; any other byte keeps its raw value.
quint8 answerDigitValue(char byte);

// The byte a one-byte register read answered: the converted byte 5 (the low hex digit). No value
// when fewer than 6 bytes came.
std::optional<quint8> registerAnswerValue(const QByteArray &answer);

// What is wrong with the answer to a bulk EEPROM read, if anything.
struct BulkAnswerFault {
    enum Kind {
        None,
        Length,      // too short, or more than line ends after the digits
        NotHexDigit, // a byte among the digits is not an upper-case hex digit
    };
    Kind kind = None;
    qsizetype length = 0; // the bytes that came
    qsizetype at = 0;     // NotHexDigit: where the byte stands, from 0
    char byte = 0;
};

// A bulk answer is four leading bytes and four upper-case hex digits per word, most significant
// first. Line ends (CR, LF, NUL) a controller sends after it are no part of it; anything else
// there, like a stray byte among the digits, means the answer cannot be trusted.
BulkAnswerFault bulkAnswerFault(const QByteArray &answer);
// The 128 words of a bulk EEPROM read; no value unless the answer is free of faults, so that a
// garbled answer is never taken for EEPROM contents.
std::optional<DeviceWords> bulkAnswerWords(const QByteArray &answer);

// What a presence probe answer says.
struct PresenceStatus {
    enum Kind {
        NoAccess, // nothing came, or the answer does not start with "ns"
        NotReady, // "ns", but not exactly 6 bytes
        Checked,  // missingDevices holds one bit per device that did not answer
    };
    Kind kind = NoAccess;
    int missingDevices = 0;
};

// Byte 2 + d of the answer is d for each device d present; devices 0..devices-1 are looked at
// (the module device, byte 5, only on a model that has one).
PresenceStatus presenceStatus(const QByteArray &answer, int devices);

} // namespace WireProtocol
