#pragma once

#include "image/module1.h"
#include "link/switch_session.h"
#include "support/scripted_serial_line.h"

#include <QByteArrayList>
#include <QList>

#include <functional>

// A word write as the switch understood it.
struct WordWrite {
    int device, space, address, value;
    bool operator==(const WordWrite &o) const
    {
        return device == o.device && space == o.space && address == o.address && value == o.value;
    }
};

// The far end of the line: four devices with their EEPROMs, the presence probe and the module
// register. It parses the commands with its own code, so a fault in the link's encoding shows.
class FakeSwitch
{
public:
    QByteArray answer(const QByteArray &command);

    ImageWords eeprom{};
    // Answers to successive probes and module reads; the last one repeats. Module code -1: silence.
    QByteArrayList probeAnswers{QByteArray("ns\x00\x01\x02\x03", 6)};
    QList<int> moduleCodes{6};
    // Bulk reads of a device answered one byte short before it answers properly.
    std::array<int, 4> shortBulkAnswers{};
    // Writes neither stored nor answered; writes stored with their lowest bit flipped.
    std::function<bool(const WordWrite &)> ignoresWrite, garblesWrite;

    QList<WordWrite> writes;
    QList<int> bulkReads; // device of each bulk read
    int probes = 0, moduleReads = 0, resets = 0;
};

// Messages as "critical: text" or "exclamation: text".
class RecordingSink : public SessionMessageSink
{
public:
    void report(const QString &text, MessageSeverity severity) override
    {
        messages << (severity == MessageSeverity::Critical ? "critical: " : "exclamation: ") + text;
    }
    QStringList messages;
};

// A switch on a scripted line with a virtual clock, and a Module1 to work on.
struct LinkRig {
    LinkRig();
    SessionOutcome run(bool write, int model);
    ProgressCallback recordProgress();
    // One entry per progress change: "5" while shown, "-5" once hidden at 5.
    QStringList progress;

    Module1 module;
    FakeSwitch device;
    ScriptedSerialLine line;
    VirtualLinkClock clock;
    RecordingSink sink;
};

// A recognisable image: each word says where it lives, xor salt.
void tagImage(ImageWords &image, int salt = 0);
