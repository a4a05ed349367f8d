#pragma once

#include "cli_commands.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "link/network_serial_line.h"
#include "support/fakes.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

// swcfgctl's commands run in the test's own process, on a folder of the test's.

struct CtlResult {
    int status = -1;
    QString out;
    QString err;
    QByteArray bytes; // standard output as it was
};

// swcfgctl in this process, given `input` on standard input; {dir} in an argument is the test's
// folder. The system reports a serial port and a USB adapter.
inline CtlResult ctl(const QString &arguments, const QTemporaryDir &dir,
                     const QByteArray &input = {})
{
    QStringList list{"swcfgctl"};
    for (const QString &argument : arguments.split(' ', Qt::SkipEmptyParts))
        list << QString(argument).replace("{dir}", dir.path());
    const ParsedCommandLine parsed = parseCommandLine(list);
    if (!parsed.options)
        return {1, QString(), parsed.error, {}};
    RecordingSink messages;
    EventLoopClock clock;
    QByteArray out;
    const OutputSink print = [&out](const QByteArray &text) { out += text; };
    // The device a line is made for comes first among the messages, "(network)" after it for a
    // console server's port.
    const SerialLineFactory makeLine = [&messages](const QString &device, LinkClock &clock) {
        std::unique_ptr<SerialLine> line = deviceLineFactory()(device, clock);
        messages.texts << device +
                              (dynamic_cast<NetworkSerialLine *>(line.get()) ? " (network)" : "");
        return line;
    };
    CommandServices services{makeLine, clock, messages, {}, print};
    services.serialDevices = [&dir] {
        return std::vector<SerialDeviceInfo>{{"ttyS0", "/dev/ttyS0", "16550A", "", "", {}, {}},
                                             {"ttyUSB0", dir.filePath("ttyUSB0"), "FT232R USB UART",
                                              "FTDI", "A1B2C3", 0x403, 0x6001}};
    };
    services.input = [&input](qint64 limit) { return input.left(limit); };
    const int status = int(runCommand(*parsed.options, services));
    return {status, QString::fromUtf8(out), messages.texts.join('\n'), out};
}

inline void put(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QVERIFY(putFile(dir.filePath(name), bytes));
}

inline QByteArray get(const QTemporaryDir &dir, const QString &name)
{
    return fileBytes(dir.filePath(name));
}
