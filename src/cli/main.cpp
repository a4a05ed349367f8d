// swcfgctl: reads and programs a switch's EEPROMs from a script, and shows, applies and compares
// the configurations of *.bin files.

#include "cli_commands.h"
#include "cli_options.h"
#include "cli_texts.h"
#include "command_files.h"
#include "console_output.h"
#include "console_reporter.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "multi_port_run.h"
#include "stop_signals.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace
{

// The progress bar is for a person watching, not for a log file or a pipe; an image is not for
// a person's terminal.
bool isTerminal(std::FILE *stream)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(CliTexts::kProgram));

    const ParsedCommandLine parsed = parseCommandLine(QCoreApplication::arguments());
    if (parsed.helpRequested) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return static_cast<int>(ExitStatus::Done);
    }
    if (parsed.versionRequested) {
        std::printf("%s %s\n", CliTexts::kProgram, SWCFG_VERSION);
        return static_cast<int>(ExitStatus::Done);
    }
    if (!parsed.options) {
        std::fprintf(stderr, "%s: %s\n%s\n", CliTexts::kProgram, qPrintable(parsed.error),
                     qPrintable(parsed.hint));
        return static_cast<int>(ExitStatus::Usage);
    }

    const CliOptions &options = *parsed.options;
    const CliCommand command = options.command;
    const bool saves = command == CliCommand::Read || command == CliCommand::Apply;
    const auto fromInput = [](const QString &path) { return CommandFiles::isStandardStream(path); };
    const bool imageIn = saves ? fromInput(options.inputPath)
                               : fromInput(options.filePath) || fromInput(options.otherPath);
    const QString terminalRefusal = saves && fromInput(options.filePath) && isTerminal(stdout)
                                        ? CliTexts::imageToTerminal()
                                    : imageIn && isTerminal(stdin) ? CliTexts::imageFromTerminal()
                                                                   : QString();
    if (!terminalRefusal.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n%s\n", CliTexts::kProgram, qPrintable(terminalRefusal),
                     qPrintable(CliTexts::tryHelp(QCoreApplication::arguments().at(1))));
        return static_cast<int>(ExitStatus::Usage);
    }
#ifdef Q_OS_UNIX
    // A reader that went away (| head, | true) makes a write to standard output fail with EPIPE,
    // which is reported as any failed output, instead of ending the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    if (command == CliCommand::Read || command == CliCommand::Write)
        StopSignals::install();
    // Several ports run at once, each on a thread of its own.
    if (runsOnPorts(*parsed.options))
        return static_cast<int>(runOnPorts(*parsed.options, isTerminal(stderr), readStandardInput));

    ConsoleReporter console(stderr, isTerminal(stderr) ? std::optional(CommandProgress(options))
                                                       : std::nullopt);
    EventLoopClock clock;
    // A full disk or a closed pipe behind standard output is a failure, not silence.
    int outputError = 0;
    const auto output = [&outputError](const QByteArray &text) {
        if (const int error = writeStream(stdout, text); error != 0 && outputError == 0)
            outputError = error;
    };
    CommandServices services{deviceLineFactory(),        clock,  console,
                             console.progressCallback(), output, StopSignals::received};
    services.serialDevices = systemSerialDevices();
    services.input = readStandardInput;
    services.reportDuration = isTerminal(stderr);
    const ExitStatus status = runCommand(*parsed.options, services);
    if (outputError != 0) {
        std::fprintf(
            stderr, "%s: %s\n", CliTexts::kProgram,
            qPrintable(CliTexts::outputFailed(QString::fromLocal8Bit(std::strerror(outputError)))));
        return static_cast<int>(ExitStatus::FileProblem);
    }
    return static_cast<int>(status);
}
