#include "cli_texts.h"

namespace CliTexts
{

namespace
{

#ifdef Q_OS_WIN
const char kComDevice[] = "COM<n>";
const char kOtherDevices[] = "a device name (\\\\.\\COM12)\n";
#else
const char kComDevice[] = "/dev/ttyS<n-1>";
const char kOtherDevices[] = "a path (/dev/ttyUSB0, ./ttySIM) or a name under /dev\n"
                             "                    (ttyUSB0)\n";
#endif

QString arguments()
{
    return QStringLiteral(
               "  --model M, -m M   24, 24sx or 32 (or the list index 0, 1, 2): 24 Port N-Way\n"
               "                    Switch, 24 Port Switch,1000Base-SX On Board, 32 Port N-Way\n"
               "                    Switch\n"
               "  --port P, -p P    COM1 to COM8 (any case): the device named by the environment\n"
               "                    variable SWCFG_COM<n>, else %1; or a device:\n"
               "                    %2")
        .arg(QLatin1String(kComDevice), QLatin1String(kOtherDevices));
}

const char kOutput[] =
    "Messages go to standard error, one a line, in the words the window shows. A progress bar\n"
    "is drawn there while a transfer runs, when standard error is a terminal. Nothing is\n"
    "written to standard output.\n";

const char kExitStatus[] =
    "Exit status:\n"
    "  0  done\n"
    "  1  usage: unknown command or option, missing or bad model, port or file argument\n"
    "  2  the file could not be read or was rejected (contents or model), or the output file\n"
    "     could not be written\n"
    "  3  the port did not open, the switch did not answer, its devices were not ready, or a\n"
    "     device or the module is missing or does not fit the model\n"
    "  4  an EEPROM could not be read, or a device read back differently after writing\n";

} // namespace

QString mainHelp()
{
    return QStringLiteral("Usage: swcfgctl read  --model M --port P -o FILE.bin\n"
                          "       swcfgctl write --model M --port P FILE.bin\n"
                          "Reads or programs the EEPROMs of a switch over its RS-232 port.\n"
                          "\n"
                          "Commands:\n"
                          "  read    checks the switch, reads the EEPROM of every device and\n"
                          "          saves them to FILE.bin\n"
                          "  write   checks FILE.bin, checks the switch, writes every device,\n"
                          "          reads each back and resets the switch when all verified\n"
                          "\n"
                          "Arguments:\n") +
           arguments() +
           QStringLiteral("\n'swcfgctl read --help' and 'swcfgctl write --help' say more.\n\n") +
           QLatin1String(kOutput) + QLatin1Char('\n') + QLatin1String(kExitStatus);
}

QString readHelp()
{
    return QStringLiteral(
               "Usage: swcfgctl read --model M --port P -o FILE.bin\n"
               "Checks that the switch answers, that every device of the model is present and\n"
               "that the module fits the model, then reads the EEPROM of every device (3 for\n"
               "model 24, 4 for 24sx and 32). The image is saved to FILE.bin only when every\n"
               "device was read, and atomically: a failure leaves an existing FILE.bin as it\n"
               "was. The output file is tried before the switch is touched.\n"
               "\n"
               "Arguments:\n") +
           arguments() +
           QStringLiteral("  -o FILE.bin, --output FILE.bin\n"
                          "                    where to save the image (768 bytes for model 24,\n"
                          "                    1024 for 24sx and 32)\n\n") +
           QLatin1String(kOutput) + QLatin1Char('\n') + QLatin1String(kExitStatus);
}

QString writeHelp()
{
    return QStringLiteral(
               "Usage: swcfgctl write --model M --port P FILE.bin\n"
               "Checks FILE.bin as the window's Open does (its signature and model word must\n"
               "match the model), then checks the switch as read does, writes every word of\n"
               "every device, reads each device back and compares it. The switch is reset, and\n"
               "so starts with the new contents, only when every device verified.\n"
               "\n"
               "Arguments:\n") +
           arguments() + QStringLiteral("  FILE.bin          the image to write\n\n") +
           QLatin1String(kOutput) + QLatin1Char('\n') + QLatin1String(kExitStatus);
}

QString noCommand()
{
    return QStringLiteral("no command given: read or write");
}

QString unknownCommand(const QString &command)
{
    return QStringLiteral("unknown command '%1': read or write").arg(command);
}

QString commandFirst(const QString &option)
{
    return QStringLiteral("'%1' before the command: the command comes first, read or write")
        .arg(option);
}

QString missingOption(const QString &option)
{
    return QStringLiteral("missing %1").arg(option);
}

QString badModel(const QString &argument)
{
    return QStringLiteral("bad model '%1': 24, 24sx or 32 (or 0, 1, 2)").arg(argument);
}

QString badPort(const QString &argument)
{
    return QStringLiteral("bad port '%1': COM1 to COM8 or a device path").arg(argument);
}

QString missingInputFile()
{
    return QStringLiteral("missing FILE.bin to write");
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

} // namespace CliTexts
