#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

// Misbehaviour the simulated controller is told to show, so the tool's failure paths can be
// exercised without a broken switch at hand.
namespace Faults
{

// How a presence probe is answered while the fault lasts.
enum class ProbeFault {
    None,
    Silent,  // no answer at all
    Short,   // 5 bytes
    Long,    // 7 bytes
    Garbled, // 6 bytes that do not start with "ns"
};

// How an EEPROM read of one device is answered while the fault lasts.
enum class ReadFault {
    None,
    Short,  // the last byte is missing
    NonHex, // full length, but one digit is not a hexadecimal digit
};

struct ReadFaultRule {
    ReadFault kind = ReadFault::None;
    std::optional<int> times; // unset: every read
};

// A word that keeps a value other than the one written to it.
struct CorruptWord {
    int device = 0;
    int word = 0;
    std::optional<quint16> value; // unset: the written value with bit 0 flipped
};

struct FaultPlan {
    std::array<bool, 4> missing{}; // devices left out of the probe that answer nothing
    std::vector<int> moduleCodes;  // successive module codes; the last one repeats

    ProbeFault probeFault = ProbeFault::None;
    std::optional<int> probeFaultTimes; // unset: every probe

    std::array<ReadFaultRule, 4> readFaults{};

    // The line goes dead after this many answered word writes (a cable pulled mid-write)...
    std::optional<int> dropAfterWrites;
    // ...for this many commands, then comes back; unset: for good.
    std::optional<int> dropCommands;

    std::vector<CorruptWord> corruptWords;

    // After this many answered word writes the controller executes nothing more and sends junk
    // without end, as fast as the line takes it (a console server whose line is far faster).
    std::optional<int> floodAfterWrites;

    // Answers the protocol allows, though the controller's own differ: a word write is answered
    // with at least 11 bytes, and a bulk read may be followed by line ends.
    // The lengths of the word writes' answers in turn (the echo of the command, cut or padded),
    // from the start again after the last one, or the last one repeating; empty: the echo.
    std::vector<int> writeAnswerLengths;
    bool repeatLastWriteAnswer = false;
    QByteArray readTrailer; // sent after every EEPROM read's answer
};

} // namespace Faults
