#include "multi_port_run.h"

#include "cli_texts.h"
#include "command_files.h"
#include "console_output.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "port_console.h"
#include "port_summary.h"
#include "ports_command.h"
#include "several_ports.h"
#include "stop_signals.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{

// Everything the ports tell goes through the starting thread's event queue: that thread alone
// writes to the console.
void postTo(QObject &relay, std::function<void()> call)
{
    QMetaObject::invokeMethod(&relay, std::move(call), Qt::QueuedConnection);
}

// One port's messages: kept for its summary and passed on to the observer.
class RelayedMessages : public SessionMessageSink
{
public:
    RelayedMessages(QObject &relay, PortsObserver &observer, int port, QStringList &kept)
        : relay_(relay), observer_(observer), port_(port), kept_(kept)
    {
    }
    void report(const QString &text, MessageSeverity severity) override
    {
        reportWithReason(text, severity, QString());
    }
    void reportWithReason(const QString &text, MessageSeverity, const QString &reason) override
    {
        kept_ << text;
        if (!reason.isEmpty())
            kept_ << reason;
        PortsObserver &observer = observer_;
        const int port = port_;
        postTo(relay_, [&observer, port, text, reason] { observer.message(port, text, reason); });
    }

private:
    QObject &relay_;
    PortsObserver &observer_;
    int port_;
    QStringList &kept_;
};

// The transfer on port `index`, run on its own thread: its line is made there, its clock, its
// messages and its copy of the image are its own.
PortOutcome runPort(const CliOptions &options, int index, const WriteTarget &target,
                    const SerialLineFactory &makeLine, QObject &relay, PortsObserver &observer)
{
    PortOutcome outcome;
    outcome.port = options.portArguments.at(index);
    outcome.device = options.devices.at(index);
    outcome.writes = options.command == CliCommand::Write;
    outcome.file = options.command == CliCommand::Read
                       ? SeveralPorts::fileFor(options.filePath, outcome.port)
                       : options.filePath;
    if (!options.backupPath.isEmpty())
        outcome.backup = SeveralPorts::fileFor(options.backupPath, outcome.port);
    CliOptions one = options;
    one.device = outcome.device;
    one.filePath = outcome.file;
    one.backupPath = outcome.backup;

    ThreadClock clock;
    RelayedMessages messages(relay, observer, index, outcome.messages);
    ProgressCallback progress;
    if (observer.wantsProgress()) {
        progress = [&relay, &observer, index](const ProgressState &state) {
            postTo(relay, [&observer, index, state] { observer.progress(index, state); });
        };
    }
    const CommandServices services{makeLine, clock, messages, progress, {}, StopSignals::received};
    QElapsedTimer wall;
    wall.start();
    outcome.status = options.command == CliCommand::Read
                         ? runRead(one, services)
                         : writeSwitch(one, target, services, outcome.write);
    outcome.wallMicros = wall.nsecsElapsed() / 1000;
    return outcome;
}

// What is said before any port is tried: a note of no port in particular.
class ConsoleNotes : public SessionMessageSink
{
public:
    explicit ConsoleNotes(PortConsole &console) : console_(console) {}
    void report(const QString &text, MessageSeverity) override { console_.note(text); }

private:
    PortConsole &console_;
};

} // namespace

std::vector<PortOutcome> runPortsAtOnce(const CliOptions &options, const WriteTarget &target,
                                        const SerialLineFactory &makeLine, PortsObserver &observer)
{
    const int count = static_cast<int>(options.portArguments.size());
    std::vector<PortOutcome> outcomes(static_cast<std::size_t>(count));
    QObject relay;
    QEventLoop loop;
    int running = count;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < count; ++i) {
        // Each thread writes its own outcome only; the options, the image and the line factory
        // are shared for reading.
        threads.emplace_back(QThread::create([&, i] {
            outcomes[static_cast<std::size_t>(i)] =
                runPort(options, i, target, makeLine, relay, observer);
        }));
        // Queued behind everything the thread posted before it ended.
        QObject::connect(threads.back().get(), &QThread::finished, &relay, [&running, &loop] {
            if (--running == 0)
                loop.quit();
        });
    }
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->start();
    if (running > 0)
        loop.exec();
    for (const std::unique_ptr<QThread> &thread : threads)
        thread->wait();
    return outcomes;
}

bool runsOnPorts(const CliOptions &options)
{
    const bool onLine = options.command == CliCommand::Read || options.command == CliCommand::Write;
    return onLine && (options.portArguments.size() > 1 || options.json);
}

ExitStatus runOnPorts(const CliOptions &given, bool stderrIsTerminal,
                      const std::function<QByteArray(qint64 limit)> &input)
{
    const CliOptions options = withListedDevices(given, systemSerialDevices());
    QStringList labels;
    if (options.portArguments.size() > 1) {
        for (const QString &port : options.portArguments)
            labels << SeveralPorts::shortName(port);
    }
    PortConsole console(
        stderr, stderrIsTerminal ? std::optional(CommandProgress(options)) : std::nullopt, labels);
    WriteTarget target;
    if (options.command == CliCommand::Write) {
        // One target for every switch, checked once.
        ConsoleNotes notes(console);
        EventLoopClock clock;
        CommandServices services{deviceLineFactory(), clock, notes, {}, {}};
        services.input = input;
        const std::optional<WriteTarget> loaded = loadWriteTarget(options, services);
        if (!loaded)
            return ExitStatus::FileProblem;
        target = *loaded;
    }
    const std::vector<PortOutcome> outcomes =
        runPortsAtOnce(options, target, deviceLineFactory(), console);
    console.finish();
    console.note(PortSummary::table(outcomes));
    if (options.json) {
        if (const int error = writeStream(stdout, PortSummary::json(outcomes)); error != 0) {
            console.note(CliTexts::outputFailed(QString::fromLocal8Bit(std::strerror(error))));
            return ExitStatus::FileProblem;
        }
    }
    return PortSummary::overallStatus(outcomes);
}
