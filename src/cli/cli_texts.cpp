#include "cli_texts.h"

#include "link/transports.h"
#include "link/stop_messages.h"

namespace CliTexts
{

namespace
{

#ifdef Q_OS_WIN
const char kComDevice[] = "COM<n>";
const char kOtherDevices[] = "a name 'swcfgctl ports' lists, or a device name\n"
                             "                    (\\\\.\\COM12);\n";
#else
const char kComDevice[] = "/dev/ttyS<n-1>";
const char kOtherDevices[] = "a name 'swcfgctl ports' lists or one under /dev\n"
                             "                    (ttyUSB0), or a path (/dev/ttyUSB0, ./ttySIM);\n";
#endif

const char kModelArgument[] =
    "  --model M, -m M   24, 24sx or 32 (or the list index 0, 1, 2): 24 Port N-Way\n"
    "                    Switch, 24 Port Switch,1000Base-SX On Board, 32 Port N-Way\n"
    "                    Switch\n";

QString portArgument()
{
    return QStringLiteral(
               "  --port P, -p P    COM1 to COM8 (any case): the device named by the environment\n"
               "                    variable SWCFG_COM<n>, else %1; or a device:\n"
               "                    %2"
               "                    or a console server's port: tcp://HOST:PORT (raw TCP,\n"
               "                    the server's line at 9600 8N1) or rfc2217://HOST:PORT\n"
               "                    (Telnet COM Port Control: swcfgctl sets the line)\n")
        .arg(QLatin1String(kComDevice), QLatin1String(kOtherDevices));
}

QString arguments()
{
    return QLatin1String(kModelArgument) + portArgument();
}

const char kSeveralPorts[] =
    "Several ports (--port repeated, or --port P1,P2): one transfer per port, all at the\n"
    "same time, each with every check it has alone; a port that fails ends alone with its\n"
    "message, the others go on. Messages are led by the port's short name (ttyUSB0, COM3),\n"
    "on a terminal below a progress line per port; at the end a table gives each port's\n"
    "outcome, status and time. --json prints that summary as a JSON array on standard\n"
    "output. The exit status is 0 when every port succeeded, else the highest of any port.\n";

const char kOutput[] =
    "Messages go to standard error, one a line, in the words the window shows; a message about\n"
    "a file starts with its name. When standard error is a terminal, one progress line with the\n"
    "phase named (\"writing device 2 of 4, 40%\") is drawn there while the command runs, and a\n"
    "last line says what was done and how long it took.\n"
    "Only read -o - writes the image to standard output, and read and write their summary with\n"
    "--json.\n";

const char kPrintedOutput[] =
    "What the command prints goes to standard output; messages go to standard error, one a\n"
    "line, a message about a file starting with its name.\n";

const char kQuietOutput[] =
    "Messages go to standard error, one a line, a message about a file starting with its name.\n"
    "Only -o - writes to standard output: the image. -o needs a regular file; CONFIG.json may be\n"
    "a pipe (--config <(...)).\n";

const char kMainOutput[] =
    "Messages go to standard error, one a line, in the words the window shows; a message about\n"
    "a file starts with its name. When standard error is a terminal, a progress line with the\n"
    "phase named is drawn there while read or write runs, and they end with a line saying what\n"
    "was done and how long it took. show, diff and ports print to standard output, and so do\n"
    "read and apply given -o - (the image; refused when standard output is a terminal), and\n"
    "read and write their summary with --json. - as a file to read (write's, show's, diff's,\n"
    "apply's --in or --config) is standard input, for one of them.\n";

const char kExitStatus[] =
    "Exit status:\n"
    "  0  done (diff: the files hold the same words)\n"
    "  1  usage: unknown command or option, missing or bad model, port or file argument, or\n"
    "     an image for standard output or from standard input when that is a terminal\n"
    "  2  a file could not be read or was rejected (contents or model), a configuration\n"
    "     document was refused, or the output file or standard output could not be written\n"
    "     (a closed pipe included)\n"
    "  3  the port did not open, the switch did not answer, its devices were not ready, or a\n"
    "     device or the module is missing or does not fit the model\n"
    "  4  an EEPROM could not be read, a device read back differently after writing, the line\n"
    "     was lost once words were written, or every device verified but the switch could not\n"
    "     be reset (it holds the new configuration and uses it once it restarts)\n"
    "  5  diff: the files differ\n"
    "  128 + N  read or write stopped by signal N (130 SIGINT, 143 SIGTERM, 129 SIGHUP)\n"
    "     after the word on the wire; what the switch holds is said\n";

QString withFooter(const QString &text, const char *output)
{
    return text + QLatin1Char('\n') + QLatin1String(output) + QLatin1Char('\n') +
           QLatin1String(kExitStatus);
}

} // namespace

QString mainHelp()
{
    return withFooter(
        QStringLiteral(
            "Usage: swcfgctl read  --model M --port P [--port P ...] -o FILE.bin\n"
            "       swcfgctl write --model M --port P [--port P ...] [--changed-only] FILE.bin\n"
            "       swcfgctl write --model M --port P [--port P ...] --changed-only\n"
            "                      [--backup B.bin] [--dry-run] (FILE.bin | --config CONFIG.json)\n"
            "       swcfgctl show  [--model M] FILE.bin [--json]\n"
            "       swcfgctl apply [--model M] --config CONFIG.json [--in FILE.bin] "
            "-o OUT.bin\n"
            "       swcfgctl diff  [--model M] A.bin B.bin [--json]\n"
            "       swcfgctl ports [--json]\n"
            "       swcfgctl --help | --version\n"
            "Reads or programs the EEPROMs of a switch over its RS-232 port, and shows,\n"
            "applies and compares the configurations *.bin files hold.\n"
            "\n"
            "Commands:\n"
            "  read    checks the switch, reads the EEPROM of every device and\n"
            "          saves them to FILE.bin\n"
            "  write   checks FILE.bin, checks the switch, writes every device (or\n"
            "          only the words that differ), reads each back and resets the\n"
            "          switch when all verified\n"
            "  show    prints the configuration FILE.bin holds, or its JSON document\n"
            "  apply   applies a JSON document to FILE.bin (or to a factory image) as\n"
            "          the properties dialog's OK does, and saves OUT.bin\n"
            "  diff    prints the settings, then the words, in which two files differ\n"
            "  ports   lists the ports: COM1 to COM8 and the serial devices found\n"
            "\n"
            "Arguments:\n") +
            arguments() +
            QStringLiteral(
                "  (--port for read and write only, several run at once; --model may be left\n"
                "  out of show and diff, which take the model of the file, and of apply, which\n"
                "  takes the document's; FILE.bin given to -o may be -, standard output, and\n"
                "  one file or document to read may be -, standard input)\n"
                "\n'swcfgctl COMMAND --help' says more about each command.\n"),
        kMainOutput);
}

QString readHelp()
{
    return withFooter(
        QStringLiteral(
            "Usage: swcfgctl read --model M --port P [--port P ...] [--json] -o FILE.bin\n"
            "Checks that the switch answers, that every device of the model is present and\n"
            "that the module fits the model, then reads the EEPROM of every device (3 for\n"
            "model 24, 4 for 24sx and 32). The image is saved to FILE.bin only when every\n"
            "device was read, and atomically: a failure leaves an existing FILE.bin as it\n"
            "was. The output file is tried before the switch is touched.\n"
            "\n"
            "Arguments:\n") +
            arguments() +
            QStringLiteral(
                "  -o FILE.bin, --output FILE.bin\n"
                "                    where to save the image (768 bytes for model 24,\n"
                "                    1024 for 24sx and 32); -: standard output; {port}\n"
                "                    in the name stands for the port's short name, and\n"
                "                    is needed with several ports: -o switch-{port}.bin\n"
                "\n") +
            QLatin1String(kSeveralPorts),
        kOutput);
}

QString writeHelp()
{
    return withFooter(
        QStringLiteral(
            "Usage: swcfgctl write --model M --port P [--port P ...] [--json] [--changed-only]\n"
            "                      FILE.bin\n"
            "       swcfgctl write --model M --port P [--port P ...] [--json] --changed-only\n"
            "                      [--backup B.bin] [--dry-run] (FILE.bin | --config CONFIG.json)\n"
            "Checks FILE.bin as the window's Open does (its signature and model word must\n"
            "match the model), then checks the switch as read does, writes every word of\n"
            "every device, reads each device back and compares it. The switch is reset, and\n"
            "so starts with the new contents, only when every device verified.\n"
            "\n"
            "Arguments:\n") +
            arguments() +
            QStringLiteral(
                "  --changed-only    first read every device as read does (a device that cannot\n"
                "                    be read ends the command with status 4, nothing written),\n"
                "                    then write only the words that differ from FILE.bin, read\n"
                "                    every device back and compare it as a whole before the\n"
                "                    reset. A switch that holds FILE.bin already is neither\n"
                "                    written nor reset, and the last line says so. Far quicker\n"
                "                    after a small change.\n"
                "  --config CONFIG.json, -c CONFIG.json\n"
                "                    with --changed-only, in place of FILE.bin: the document\n"
                "                    (see show --json; -: standard input) is laid over what\n"
                "                    the switch holds, as apply --in does, and the result\n"
                "                    written. The document's form is checked before the\n"
                "                    switch is touched; one the switch's configuration does\n"
                "                    not take is refused once it was read (status 2, nothing\n"
                "                    written)\n"
                "  --backup B.bin    with --changed-only: save what the switch held, once every\n"
                "                    device was read and before any word is written; tried\n"
                "                    before the switch is touched, and a failed save ends the\n"
                "                    command with status 2, nothing written. {port} in the\n"
                "                    name stands for the port's short name, as for read -o\n"
                "  --dry-run         with --changed-only: read and compare only, and say how\n"
                "                    many words would be written; nothing is written and the\n"
                "                    switch is not reset\n"
                "  FILE.bin          the image to write (to every port); -: standard input\n"
                "\n") +
            QLatin1String(kSeveralPorts) +
            QStringLiteral(
                "With --json each port's object also has words_written, restarted (true\n"
                "when the reset was sent), and with --changed-only words_differing (the\n"
                "words in which the switch differed from what was to be written) and, with\n"
                "--backup, backup (the file saved).\n"),
        kOutput);
}

QString showHelp()
{
    return withFooter(
        QStringLiteral(
            "Usage: swcfgctl show [--model M] FILE.bin [--json]\n"
            "Checks FILE.bin as the window's Open does (for the model its model word names\n"
            "when --model is left out) and prints its configuration as the\n"
            "properties dialog shows it: the ports and their settings, the trunk method with\n"
            "each trunk's members (and the hash method, or where each port sends to the\n"
            "trunk), the VLAN groups, then the VLAN mask every port ends with.\n"
            "\n"
            "Arguments:\n") +
            QLatin1String(kModelArgument) +
            QStringLiteral(
                "  --json            print the configuration document instead, the JSON\n"
                "                    that apply takes\n"
                "  FILE.bin          the image to show; -: standard input\n"),
        kPrintedOutput);
}

QString applyHelp()
{
    return withFooter(
        QStringLiteral(
            "Usage: swcfgctl apply [--model M] --config CONFIG.json [--in FILE.bin] -o OUT.bin\n"
            "Opens FILE.bin as the properties dialog does (checked as the window's Open checks\n"
            "it), or the model's factory image, lays the document over it, encodes it as the\n"
            "dialog's OK does and saves OUT.bin atomically. In the document a port entry or\n"
            "setting left out keeps the input's; \"trunks\" or \"vlans\", when given, replace\n"
            "all trunks or all VLAN groups. A document the dialog could not have produced is\n"
            "refused with the path of the offending field, and nothing is written. A document\n"
            "that changes nothing gives the input back word for word. Without --model, the\n"
            "document's \"model\" says which.\n"
            "\n"
            "Arguments:\n") +
            QLatin1String(kModelArgument) +
            QStringLiteral("  --config CONFIG.json, -c CONFIG.json\n"
                           "                    the configuration document (see show --json);\n"
                           "                    -: standard input\n"
                           "  --in FILE.bin     the image to start from; -: standard input\n"
                           "  -o OUT.bin, --output OUT.bin\n"
                           "                    where to save the result; -: standard output\n"),
        kQuietOutput);
}

QString diffHelp()
{
    return withFooter(
        QStringLiteral(
            "Usage: swcfgctl diff [--model M] A.bin B.bin [--json]\n"
            "Checks both files as the window's Open does (without --model, for the model the\n"
            "model word of A.bin names) and prints the settings that differ,\n"
            "one a line (\"ports.7.learning: true -> false\"), then every word that differs\n"
            "(\"device word: old -> new\"). Prints nothing when the files are the same.\n"
            "\n"
            "Arguments:\n") +
            QLatin1String(kModelArgument) +
            QStringLiteral("  --json            print the differences as JSON\n"
                           "  A.bin B.bin       the images to compare; either may be -,\n"
                           "                    standard input\n"),
        kPrintedOutput);
}

QString noCommand()
{
    return QStringLiteral("no command given: read, write, show, apply, diff or ports");
}

QString unknownCommand(const QString &command)
{
    return QStringLiteral("unknown command '%1': read, write, show, apply, diff or ports")
        .arg(command);
}

QString commandFirst(const QString &option)
{
    return QStringLiteral("'%1' before the command: the command comes first, read, write, "
                          "show, apply, diff or ports")
        .arg(option);
}

QString missingOption(const QString &option)
{
    return QStringLiteral("missing %1").arg(option);
}

QString repeatedOption(const QString &name)
{
    return QStringLiteral("--%1 given more than once").arg(name);
}

QString badModel(const QString &argument)
{
    return QStringLiteral("bad model '%1': 24, 24sx or 32 (or 0, 1, 2)").arg(argument);
}

QString badPort(const QString &argument, const QString &problem)
{
    return QStringLiteral("bad port '%1': %2")
        .arg(displayedPortName(argument),
             problem.isEmpty() ? QStringLiteral("COM1 to COM8 or a device path") : problem);
}

QString unexpectedArguments(const QString &arguments)
{
    return QStringLiteral("unexpected argument(s): %1").arg(arguments);
}

QString tryHelp(const QString &command)
{
    return command.isEmpty() ? QStringLiteral("Try 'swcfgctl --help'.")
                             : QStringLiteral("Try 'swcfgctl %1 --help'.").arg(command);
}

QString outputFailed(const QString &reason)
{
    return QStringLiteral("standard output could not be written: %1").arg(reason);
}

QString stoppedBy(const QString &signal)
{
    return QStringLiteral("Stopped by %1").arg(signal);
}

QString readStopped(const QString &output)
{
    return QStringLiteral(": nothing was saved, %1 is as it was. The switch was only read.")
        .arg(output);
}

QString writeStopped(int wordsSent, int wordsToSend)
{
    // The window says the same when a signal stops its Write.
    return StopMessages::writeStopped(wordsSent, wordsToSend);
}

QString documentUnreadable(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: cannot be read: %2").arg(path, reason);
}

QString documentTooLarge(const QString &path, qint64 limit)
{
    return QStringLiteral("%1: larger than %2 bytes; not a configuration document")
        .arg(path)
        .arg(limit);
}

QString documentNotJson(const QString &path, int line, int column, const QString &error)
{
    return QStringLiteral("%1:%2:%3: not valid JSON: %4")
        .arg(path)
        .arg(line)
        .arg(column)
        .arg(error);
}

QString documentNotObject(const QString &path)
{
    return QStringLiteral("%1: a configuration document is a JSON object: { \"format\": "
                          "\"swcfg-config\", ... }")
        .arg(path);
}

QString documentRefused(const QString &path, const QString &field, const QString &reason)
{
    return QStringLiteral("%1: %2: %3").arg(path, field, reason);
}

} // namespace CliTexts
