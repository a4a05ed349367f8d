#include "command_parser.h"

namespace
{

constexpr char kCr = '\r';
constexpr int kWriteDigits = 11;
constexpr int kReadDigits = 8;

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

int number(const QByteArray &digits, int from, int length)
{
    int value = 0;
    for (int i = from; i < from + length; ++i)
        value = value * 10 + (digits[i] - '0');
    return value;
}

} // namespace

std::optional<Command> CommandParser::feed(char byte)
{
    switch (state_) {
    case State::Idle:
        return startFresh(byte);
    case State::AfterN:
        if (byte == 'o' || byte == 'r') {
            pending_ = byte == 'o' ? Command::Kind::WriteWord : Command::Kind::Read;
            expectedDigits_ = byte == 'o' ? kWriteDigits : kReadDigits;
            digits_.clear();
            state_ = State::Digits;
            return std::nullopt;
        }
        if (byte == 's') {
            state_ = State::Idle;
            Command probe;
            probe.kind = Command::Kind::Probe;
            probe.raw = "ns";
            return complete(probe);
        }
        ++skipped_; // the "n" that led nowhere
        return startFresh(byte);
    case State::Digits:
        if (!isDigit(byte)) {
            discard();
            return startFresh(byte);
        }
        digits_.append(byte);
        if (digits_.size() == expectedDigits_)
            state_ = State::ExpectCr;
        return std::nullopt;
    case State::ExpectCr:
        if (byte != kCr) {
            discard();
            return startFresh(byte);
        }
        state_ = State::Idle;
        return finishDigits();
    }
    return std::nullopt;
}

std::optional<Command> CommandParser::startFresh(char byte)
{
    state_ = State::Idle;
    if (byte == 'n') {
        state_ = State::AfterN;
        return std::nullopt;
    }
    if (byte == 'j') {
        Command reset;
        reset.kind = Command::Kind::Reset;
        reset.raw = "j";
        return complete(reset);
    }
    ++skipped_;
    return std::nullopt;
}

void CommandParser::discard()
{
    // "n", the letter and the digits taken so far
    skipped_ += 2 + static_cast<int>(digits_.size());
    digits_.clear();
    state_ = State::Idle;
}

Command CommandParser::complete(Command command)
{
    command.skippedBefore = skipped_;
    skipped_ = 0;
    return command;
}

Command CommandParser::finishDigits()
{
    Command command;
    command.kind = pending_;
    command.device = number(digits_, 0, 1);
    command.space = number(digits_, 1, 1);
    command.address = number(digits_, 2, 3);
    if (pending_ == Command::Kind::WriteWord) {
        command.high = number(digits_, 5, 3);
        command.low = number(digits_, 8, 3);
        command.raw = "no" + digits_ + kCr;
    } else {
        command.count = number(digits_, 5, 3);
        command.raw = "nr" + digits_ + kCr;
    }
    return complete(command);
}
