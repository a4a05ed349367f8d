// swcfg-sim: the switch's management controller on a pseudo-terminal, for the tool's tests, its
// benchmark and trying it out without hardware.

#include "eeprom_files.h"
#include "emulated_switch.h"
#include "image/factory_image.h"
#include "pty_port.h"
#include "session_records.h"
#include "sim_loop.h"
#include "sim_options.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

int stopPipe[2] = {-1, -1};

void requestStop(int)
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(stopPipe[1], &byte, 1);
}

bool installStopHandlers()
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return true;
}

int fail(const QString &text)
{
    std::fprintf(stderr, "swcfg-sim: %s\n", qPrintable(text));
    return 1;
}

int serve(const SimOptions &options, const ImageWords &eeprom)
{
    if (!installStopHandlers())
        return fail(QStringLiteral("cannot make the stop pipe"));

    QString error;
    PtyPort port;
    if (!port.open(error))
        return fail(error);
    if (!options.linkPath.isEmpty() && !port.makeLink(options.linkPath, error))
        return fail(error);

    EmulatedSwitch device(options.model, eeprom, options.faults);
    SessionRecords records(options.logPath, options.statePath, options.model);
    if (!records.open(eeprom, error))
        return fail(error);

    // Whoever started us waits for this line before it opens the port.
    std::printf("%s\n", qPrintable(port.slavePath()));
    std::fflush(stdout);

    SimLoop::Setup setup;
    setup.masterFd = port.masterFd();
    setup.slaveFd = port.slaveFd();
    setup.stopFd = stopPipe[0];
    setup.watchStdin = options.exitOnStdinEnd;
    setup.paced = options.paced;
    setup.vanishAfter = options.vanishAfter;
    setup.onVanish = [&port] { port.vanish(); };
    setup.noise = options.noise;
    setup.trickleMs = options.trickleMs;
    setup.burstGapMicros = options.burstGapMs * 1000;
    setup.burstBytes = options.burstBytes;
    setup.answerDelayMicros = options.answerDelayMicros;
    SimLoop loop(setup, device, records);
    if (!loop.run(error))
        return fail(error);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("swcfg-sim"));

    const ParsedOptions parsed = parseSimOptions(QCoreApplication::arguments());
    if (parsed.helpRequested) {
        std::fputs(qPrintable(parsed.helpText), stdout);
        return 0;
    }
    if (parsed.versionRequested) {
        std::printf("swcfg-sim %s\n", SWCFG_VERSION);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "swcfg-sim: %s\nTry 'swcfg-sim --help'.\n", qPrintable(parsed.error));
        return 2;
    }
    const SimOptions &options = *parsed.options;

    QString error;
    if (!options.writeFactoryPath.isEmpty()) {
        const bool written = EepromFiles::write(options.writeFactoryPath,
                                                factoryImage(options.model), options.model, error);
        return written ? 0 : fail(error);
    }

    ImageWords eeprom = factoryImage(options.model);
    if (!options.imagePath.isEmpty()) {
        const std::optional<ImageWords> loaded =
            EepromFiles::read(options.imagePath, options.model, error);
        if (!loaded)
            return fail(error);
        eeprom = *loaded;
    }
    return serve(options, eeprom);
}
