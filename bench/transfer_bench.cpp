// Times Read, Write and Write of the changed words only against the simulated switch at true
// line speed, through the real serial port (or a console server's network port in front of it),
// clock and session, and prints how close each comes to the line's own limit and what it costs in
// CPU.

#include "counting_serial_line.h"
#include "line_timeline.h"
#include "paced_switch.h"
#include "ports_bench.h"
#include "transfer_figures.h"

#include "config/switch_configuration.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "launcher/ser2net_process.h"
#include "link/line_factory.h"
#include "link/link_clock.h"
#include "link/switch_session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace
{

// The real clock, counting its passes.
class CountingClock : public LinkClock
{
public:
    qint64 elapsedMs() const override { return clock_.elapsedMs(); }
    qint64 elapsedMicros() const override { return clock_.elapsedMicros(); }
    void pass(SerialLine &line, int maxMicros) override
    {
        ++passes;
        clock_.pass(line, maxMicros);
    }
    void rest(SerialLine &line, int micros) override
    {
        ++passes;
        clock_.rest(line, micros);
    }
    int longestRestMicros() const override { return clock_.longestRestMicros(); }

    long passes = 0;

private:
    EventLoopClock clock_;
};

class StderrMessages : public SessionMessageSink
{
public:
    void report(const QString &text, MessageSeverity) override
    {
        std::fprintf(stderr, "switch says: %s\n", qPrintable(text));
    }
};

QString outcomeText(SessionOutcome outcome)
{
    return outcome == SessionOutcome::Done ? QStringLiteral("ok") : QStringLiteral("FAILED");
}

struct Options {
    QList<int> models{Model24NWay, Model24Sx, Model32NWay};
    bool modelsGiven = false;
    bool read = true;
    bool write = true;
    bool changed = true;
    bool ports = true; // several switches at once
    int repeat = 1;
    // The console server between the tool and the simulator's terminal; none: the terminal itself.
    std::optional<Ser2netProcess::Mode> via;
    bool trace = false;
    QStringList answers; // swcfg-sim's options that shape its answers
};

bool parseOptions(const QCoreApplication &app, Options &options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times Read, Write, and Write of the changed words only after one port "
                       "setting changed, against swcfg-sim at 9600 baud (--pace), and compares "
                       "them with the time the bytes take on the line; then Read and Write on 1, "
                       "2 and 4 switches at once (the 24-port 1000Base-SX model unless --model "
                       "says otherwise)."));
    parser.addHelpOption();
    const QCommandLineOption modelOption(
        QStringLiteral("model"),
        QStringLiteral("Switch model 0, 1 or 2 (repeatable; default all three)."),
        QStringLiteral("model"));
    const QCommandLineOption onlyOption(
        QStringLiteral("only"),
        QStringLiteral("Time only read, write, changed-only writes, or several ports at once."),
        QStringLiteral("read|write|changed|ports"));
    const QCommandLineOption repeatOption(QStringLiteral("repeat"),
                                          QStringLiteral("Runs of each kind (default 1)."),
                                          QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption viaOption(
        QStringLiteral("via"),
        QStringLiteral("Reach the simulator through ser2net on 127.0.0.1: its raw TCP port or its "
                       "Telnet COM Port Control (RFC 2217) port."),
        QStringLiteral("ser2net-raw|ser2net-rfc2217"));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"),
        QStringLiteral("After each run, where its time went, per kind of command."));
    // Passed on to swcfg-sim: answers the protocol allows, as other controllers and adapters
    // give them.
    const QList<QCommandLineOption> answerOptions{
        {QStringLiteral("write-answers"),
         QStringLiteral("Word write answers of these lengths in turn (swcfg-sim --write-answers)."),
         QStringLiteral("lengths")},
        {QStringLiteral("burst"),
         QStringLiteral("Answers handed over as a USB adapter's latency timer does (swcfg-sim "
                        "--burst)."),
         QStringLiteral("gap[:len]")},
        {QStringLiteral("answer-delay"),
         QStringLiteral("Each answer this many microseconds late (swcfg-sim --answer-delay)."),
         QStringLiteral("us")},
    };
    parser.addOptions({modelOption, onlyOption, repeatOption, viaOption, traceOption});
    parser.addOptions(answerOptions);
    parser.process(app);

    if (parser.isSet(modelOption)) {
        options.modelsGiven = true;
        options.models.clear();
        for (const QString &text : parser.values(modelOption)) {
            bool ok = false;
            const int model = text.toInt(&ok);
            if (!ok || !isValidModel(model)) {
                std::fprintf(stderr, "--model: %s is not 0, 1 or 2\n", qPrintable(text));
                return false;
            }
            options.models << model;
        }
    }
    if (parser.isSet(onlyOption)) {
        const QString only = parser.value(onlyOption);
        options.read = only == QLatin1String("read");
        options.write = only == QLatin1String("write");
        options.changed = only == QLatin1String("changed");
        options.ports = only == QLatin1String("ports");
        if (!options.read && !options.write && !options.changed && !options.ports) {
            std::fprintf(stderr, "--only: say read, write, changed or ports\n");
            return false;
        }
    }
    if (parser.isSet(viaOption)) {
        const QString via = parser.value(viaOption);
        if (via != QLatin1String("ser2net-raw") && via != QLatin1String("ser2net-rfc2217")) {
            std::fprintf(stderr, "--via: say ser2net-raw or ser2net-rfc2217\n");
            return false;
        }
        options.via = via.endsWith(QLatin1String("raw")) ? Ser2netProcess::Mode::RawTcp
                                                         : Ser2netProcess::Mode::ComPortControl;
    }
    options.trace = parser.isSet(traceOption);
    for (const QCommandLineOption &option : answerOptions) {
        if (parser.isSet(option))
            options.answers << QStringLiteral("--") + option.names().constFirst()
                            << parser.value(option);
    }
    bool ok = false;
    options.repeat = parser.value(repeatOption).toInt(&ok);
    if (!ok || options.repeat < 1) {
        std::fprintf(stderr, "--repeat: a count of 1 or more\n");
        return false;
    }
    return true;
}

// Times one command, from its first byte to its return.
TransferFigures timeRun(CountingSerialLine &line, CountingClock &clock,
                        const std::function<SessionOutcome()> &run, SessionOutcome &outcome)
{
    line.resetCounts();
    clock.passes = 0;
    TransferFigures figures = measure([&] { outcome = run(); });
    figures.bytesSent = line.bytesSent();
    figures.bytesReceived = line.bytesReceived();
    figures.waitPasses = clock.passes;
    return figures;
}

// Reads the switch (the image to write comes from there), then runs the timed commands. False
// when the simulator could not be started or a command failed.
bool benchModel(int model, const Options &options, QTextStream &out)
{
    PacedSwitch paced;
    if (!paced.start(model, options.via, options.answers))
        return false;
    ImageState state;
    CountingClock clock;
    const std::unique_ptr<SerialLine> port = makeSerialLine(paced.portName(), clock);
    TimelineSerialLine timeline(*port);
    CountingSerialLine line(timeline);
    StderrMessages messages;
    SwitchSession session(state, line, clock, messages);

    bool allDone = true;
    // Mean wall time of the runs of one kind; `prepare` runs untimed before each.
    const auto timed = [&](const QString &kind, const std::function<SessionOutcome()> &run,
                           const std::function<void()> &prepare = {}) {
        qint64 wall = 0;
        for (int i = 0; i < options.repeat; ++i) {
            if (prepare)
                prepare();
            SessionOutcome outcome = SessionOutcome::Done;
            timeline.restart();
            const TransferFigures figures = timeRun(line, clock, run, outcome);
            allDone = allDone && outcome == SessionOutcome::Done;
            wall += figures.wallMicros;
            out << figuresRow(QStringLiteral("%1 model %2").arg(kind).arg(model),
                              outcomeText(outcome), figures)
                << Qt::endl;
            if (options.trace)
                out << timeline.phaseTable() << Qt::flush;
        }
        return wall / options.repeat;
    };
    if (options.read)
        timed(QStringLiteral("Read"), [&] { return session.read(model); });
    if (!options.read && session.read(model) != SessionOutcome::Done) {
        std::fprintf(stderr, "could not read the image to write from model %d\n", model);
        return false;
    }
    qint64 writeWall = 0;
    if (options.write)
        writeWall = timed(QStringLiteral("Write"), [&] { return session.write(model); });
    if (options.changed) {
        // The switch holds the image; each run flips the learning setting of the first port, as
        // the properties dialog would, and writes what differs.
        const auto changeOneSetting = [&] {
            OpenedConfiguration opened(state.eepromImage, model);
            SwitchConfiguration wanted = opened.settings();
            wanted.ports[0].learning = !wanted.ports[0].learning;
            state.eepromImage = opened.encode(wanted);
        };
        const qint64 changedWall = timed(
            QStringLiteral("Changed"), [&] { return session.writeChanges(model); },
            changeOneSetting);
        if (writeWall > 0)
            out << QStringLiteral("Changed / Write, model %1: %2")
                       .arg(model)
                       .arg(static_cast<double>(changedWall) / static_cast<double>(writeWall), 0,
                            'f', 3)
                << Qt::endl;
    }
    return allDone;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("transfer_bench"));
    Options options;
    if (!parseOptions(app, options))
        return 2;

    QTextStream out(stdout);
    if (!options.answers.isEmpty())
        out << "swcfg-sim answers with " << options.answers.join(QLatin1Char(' ')) << "."
            << Qt::endl;
    if (options.via)
        out << "Through ser2net: "
            << (options.via == Ser2netProcess::Mode::RawTcp ? "raw TCP" : "RFC 2217")
            << " on 127.0.0.1, chardelay off, nodelay." << Qt::endl;
    out << "Wire time: bytes sent and received, 10 bits each at 9600 baud. CPU %: this process, "
           "user + system, of one core."
        << Qt::endl;
    bool allDone = true;
    if (options.read || options.write || options.changed) {
        out << figuresHeader() << Qt::endl;
        for (const int model : options.models)
            allDone = benchModel(model, options, out) && allDone;
    }
    if (options.ports) {
        out << "Several switches at once: the wall time of them all against the wire time of one."
            << Qt::endl;
        allDone = benchPorts(options.modelsGiven ? options.models.first() : Model24Sx,
                             options.repeat, options.via, out) &&
                  allDone;
    }
    // A console server adds a hop each way: a little more time is allowed through it.
    out << "Targets: every run ok; Read and Write with wall/wire at most "
        << (options.via ? "1.05" : "1.015")
        << "; Changed (one port setting) at most 0.35 of a Write's wall time; CPU at most 3 %; 4 "
           "switches at once within 1.05 of one switch's wire time, at most 4 % CPU in all."
        << Qt::endl;
    return allDone ? 0 : 1;
}
