#pragma once

#include <QByteArray>

#include <optional>

// One command as the controller receives it from the PC.
struct Command {
    enum class Kind { WriteWord, Read, Probe, Reset };

    Kind kind = Kind::Probe;
    int device = 0;        // 0..3
    int space = 0;         // 0 EEPROM, 1 switch registers
    int address = 0;       // EEPROM byte address or register number
    int high = 0;          // write: high byte of the value, as sent (may be out of range)
    int low = 0;           // write: low byte of the value, as sent
    int count = 0;         // read: number of bytes
    QByteArray raw;        // the bytes that made the command
    int skippedBefore = 0; // stray bytes discarded since the previous command

    int value() const { return high * 256 + low; }
};

// Splits the byte stream from the PC into commands:
//   "no" + 11 digits + CR   write a word (device, space, 3-digit address, 3-digit high, 3-digit
//   low) "nr" + 8 digits + CR    read bytes (device, space, 3-digit address, 3-digit count) "ns"
//   presence probe "j"                     reset
// Anything else is skipped up to the next "n" or "j"; a command cut short by a stray byte is
// dropped and the stray byte is looked at afresh, so the parser finds its feet again at once.
class CommandParser
{
public:
    // Takes one byte; returns the command it completes, if any.
    std::optional<Command> feed(char byte);

private:
    enum class State { Idle, AfterN, Digits, ExpectCr };

    std::optional<Command> startFresh(char byte);
    void discard();
    Command complete(Command command);
    Command finishDigits();

    State state_ = State::Idle;
    Command::Kind pending_ = Command::Kind::Probe;
    QByteArray digits_;
    int expectedDigits_ = 0;
    int skipped_ = 0;
};
