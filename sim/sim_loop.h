#pragma once

#include "command_parser.h"
#include "line_pacer.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

class EmulatedSwitch;
class SessionRecords;

// The single-threaded loop on the pty master: takes the PC's bytes (at line speed when paced),
// parses and executes the commands, and sends the answers (again at line speed when paced).
class SimLoop
{
public:
    struct Setup {
        int masterFd = -1;
        int slaveFd = -1;        // our own: what waits in it is not read yet
        int stopFd = -1;         // readable: end the loop
        bool watchStdin = false; // the end of standard input also ends the loop
        bool paced = false;
        int vanishAfter = 0;            // end once this command is answered; 0: never
        std::function<void()> onVanish; // the terminal goes, as a pulled cable
        bool noise = false;
        int trickleMs = 0;
        // A USB adapter's hand-over: what crossed the line goes out at every tick of its latency
        // timer, burstGapMicros apart, or at once when burstBytes wait; 0: as it crosses.
        int burstGapMicros = 0;
        int burstBytes = 0;
        int answerDelayMicros = 0; // a controller busy with the command before it answers
    };

    SimLoop(Setup setup, EmulatedSwitch &device, SessionRecords &records);

    // Runs until told to stop; false with `error` set when the pty fails.
    bool run(QString &error);

private:
    using Clock = LinePacer::Clock;
    struct TimedByte {
        char byte;
        Clock::time_point due;
    };

    bool receive(Clock::time_point now, QString &error);
    void lingerUntilRead();
    void takeDueInput(Clock::time_point now);
    void execute(const Command &command, Clock::time_point ready);
    // Moves each byte of an answer (due when it crossed the line) to when the adapter hands it
    // over.
    void handOverInBursts(std::vector<TimedByte> &answer) const;
    bool sendDueOutput(Clock::time_point now, QString &error);
    const Clock::time_point *nextDeadline() const;

    Setup setup_;
    EmulatedSwitch &device_;
    SessionRecords &records_;
    CommandParser parser_;
    LinePacer fromPc_;
    LinePacer toPc_;
    std::deque<TimedByte> input_;
    std::deque<TimedByte> output_;
    bool outputBlocked_ = false; // the pty is full: wait until it takes bytes again
    int commandsReceived_ = 0;
    bool vanished_ = false;
    LinePacer noisePacer_;
    Clock::time_point ticksFrom_ = Clock::now(); // the adapter's timer
    quint32 noiseState_ = 12345; // a small generator: the junk differs from byte to byte
};
