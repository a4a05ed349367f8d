// What swcfgctl says around a transfer: its ports, the standard streams and its last line. The
// rest is in cli_texts.cpp.

#include "cli_texts.h"

namespace CliTexts
{

namespace
{

QString seconds(qint64 milliseconds)
{
    return QString::number(double(milliseconds) / 1000.0, 'f', 1);
}

} // namespace

QString portsHelp()
{
    return QStringLiteral(
        "Usage: swcfgctl ports [--json]\n"
        "Lists the ports --port takes, one a line, its name first: COM1 to COM8 with the\n"
        "device each opens (\"(SWCFG_COM2)\" after a device the environment names), then every\n"
        "serial device the system reports that none of them opens, and after each device what\n"
        "the system says of it: description, manufacturer, serial number, USB vendor and\n"
        "product id.\n"
        "\n"
        "  COM1  /dev/ttyS0\n"
        "  ttyUSB0  /dev/ttyUSB0  FT232R USB UART  FTDI  A1B2C3  0403:6001\n"
        "\n"
        "Arguments:\n"
        "  --json            print them as JSON: {\"ports\": [{\"name\": ..., \"device\": ...,\n"
        "                    \"override\", \"description\", \"manufacturer\",\n"
        "                    \"serial_number\", \"vendor_id\", \"product_id\" when known}]}\n"
        "\n"
        "Exit status:\n"
        "  0  done\n"
        "  1  usage: unknown option or argument\n"
        "  2  standard output could not be written\n");
}

QString imageToTerminal()
{
    return QStringLiteral(
        "not writing an image to a terminal: send standard output to a file or a pipe, or give "
        "-o FILE.bin");
}

QString imageFromTerminal()
{
    return QStringLiteral("not reading an image from a terminal: send it to standard input from a "
                          "file or a pipe");
}

QString standardInputTwice()
{
    return QStringLiteral("standard input holds one file or document: give - for one of them "
                          "only");
}

QString standardInput()
{
    return QStringLiteral("standard input");
}

QString documentWithoutModel()
{
    return QStringLiteral(
        "\"24\", \"24sx\" or \"32\" is needed: without --model, the document names the model");
}

QString readDone(int devices, qint64 milliseconds)
{
    return QStringLiteral("read %1 devices in %2 s").arg(devices).arg(seconds(milliseconds));
}

QString writeDone(bool changedOnly, qint64 milliseconds)
{
    return QStringLiteral("%1, verified, switch restarted in %2 s")
        .arg(changedOnly ? QStringLiteral("changed words written") : QStringLiteral("written"),
             seconds(milliseconds));
}

} // namespace CliTexts
