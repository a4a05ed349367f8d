#pragma once

#include "command_parser.h"
#include "emulated_switch.h"
#include "link/link_clock.h"
#include "link/link_progress.h"
#include "link/serial_line.h"

#include <QByteArrayList>
#include <QStringList>

#include <functional>
#include <utility>

// A serial line with a scripted peer. Every send is recorded as one command and handed to
// `answer`; what it returns arrives while the link waits (chunkSize bytes per wait, all of it when
// 0), or by the time send() returns for a fast peer.
class ScriptedSerialLine : public SerialLine
{
public:
    std::function<QByteArray(const QByteArray &command)> answer; // empty: silence
    std::function<bool(const QByteArray &command)> refuses;      // sends that fail
    int chunkSize = 0;
    bool answersOnSend = false;
    bool delivers = true; // what waitUntilSent() says
    bool gone = false;    // the device went away: open, but no longer usable

    QByteArrayList commands;
    int sendsOverUnreadInput = 0; // commands sent while earlier input still waited to be read
    int opens = 0;

    bool open() override // fails when already open
    {
        opens += open_ ? 0 : 1;
        return !std::exchange(open_, true);
    }
    void close() override
    {
        // Nobody listens while the port is closed.
        open_ = false;
        onTheWire_.clear();
        received_.clear();
    }
    bool isOpen() const override { return open_ && !gone; }
    QString errorText() const override { return {}; }
    bool send(const QByteArray &bytes) override
    {
        if (!open_ || (refuses && refuses(bytes)))
            return false;
        sendsOverUnreadInput += received_.isEmpty() ? 0 : 1;
        commands << bytes;
        (answersOnSend ? received_ : onTheWire_) += answer ? answer(bytes) : QByteArray();
        return true;
    }
    bool waitUntilSent() override { return delivers; }
    qint64 bytesAvailable() override { return received_.size(); }
    QByteArray readAll() override { return std::exchange(received_, {}); }
    void discardInput() override { received_.clear(); }
    void waitForInput(int) override
    {
        const qsizetype size = chunkSize > 0 ? chunkSize : onTheWire_.size();
        received_ += onTheWire_.left(size);
        onTheWire_.remove(0, size);
    }

    // Bytes that came unasked.
    void inject(const QByteArray &bytes) { received_ += bytes; }

private:
    bool open_ = false;
    QByteArray onTheWire_; // answered, not yet received
    QByteArray received_;
};

// Virtual time: each pass advances the clock by its full length and lets the line deliver, so a
// three-second time-out costs a few thousand loop turns and no real waiting.
class VirtualLinkClock : public LinkClock
{
public:
    qint64 elapsedMs() const override { return micros / 1000; }
    qint64 elapsedMicros() const override { return micros; }
    void pass(SerialLine &line, int maxMicros) override
    {
        ++passes;
        micros += maxMicros + passCostMicros;
        line.waitForInput(maxMicros);
    }

    qint64 micros = 0;
    long passes = 0;
    int passCostMicros = 0; // what a pass takes beyond the time it waits
};

// A switch of the model on a scripted line with a virtual clock, and a ImageState to work on. The
// simulator's controller answers: it parses the commands with its own code, so a fault in the
// link's encoding shows.
struct LinkRig {
    explicit LinkRig(int model = 2, const ImageWords &eeprom = {}, Faults::FaultPlan faults = {})
        : device(model, eeprom, std::move(faults))
    {
        state.applyStartupDefaults();
        line.answer = [this](const QByteArray &command) {
            QByteArray answer;
            for (char byte : command) {
                const std::optional<Command> parsed = parser.feed(byte);
                if (parsed && !(ignores && ignores(command)))
                    answer += device.execute(*parsed).answer;
            }
            return answer;
        };
    }
    // One entry per change of the bar: "5" while shown, "-5" once hidden at 5.
    ProgressCallback recordProgress()
    {
        return [this](const ProgressState &state) {
            const QString entry = (state.visible ? "" : "-") + QString::number(state.value);
            if (progress.isEmpty() || progress.constLast() != entry) // a new phase alone
                progress << entry;
        };
    }

    ImageState state;
    EmulatedSwitch device;
    CommandParser parser;
    std::function<bool(const QByteArray &)> ignores; // commands neither done nor answered
    ScriptedSerialLine line;
    VirtualLinkClock clock;
    QStringList progress;
};
