// swcfgctl: reads and programs a switch's EEPROMs from a script, and shows, applies and compares
// the configurations of *.bin files.

#include "cli_commands.h"
#include "cli_options.h"
#include "cli_texts.h"
#include "console_reporter.h"
#include "link/link_clock.h"
#include "multi_port_run.h"

#include <QCoreApplication>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace
{

// The progress bar is for a person watching, not for a log file or a pipe.
bool stderrIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
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
    if (!parsed.options) {
        std::fprintf(stderr, "%s: %s\n%s\n", CliTexts::kProgram, qPrintable(parsed.error),
                     qPrintable(parsed.hint));
        return static_cast<int>(ExitStatus::Usage);
    }

    // Several ports run at once, each on a thread of its own.
    if (runsOnPorts(*parsed.options))
        return static_cast<int>(runOnPorts(*parsed.options, stderrIsTerminal()));

    ConsoleReporter console(stderr, stderrIsTerminal());
    EventLoopClock clock;
    const CommandServices services{serialDeviceLineFactory(), clock, console,
                                   console.progressCallback(), [](const QByteArray &text) {
                                       std::fwrite(text.constData(), 1, std::size_t(text.size()),
                                                   stdout);
                                       std::fflush(stdout);
                                   }};
    return static_cast<int>(runCommand(*parsed.options, services));
}
