#include "launcher/ser2net_process.h"
#include "link/com_ports.h"
#include "support/test_main.h"

#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

class ComPortsTest : public QObject
{
    Q_OBJECT

private slots:
    // The line as a pseudo-terminal shows it while the port is open: 9600 baud both ways, one
    // stop bit, no flow control. The terminal itself keeps 8 data bits and drops the parity
    // enable bit, so only odd, mark and space parity show. A console server's RFC 2217 port sets
    // its line so, whatever it was set to before. A device named without /dev/ stays open.
    void linesAreOpenedAt9600EightNoneOne_data()
    {
        QTest::addColumn<bool>("throughConsoleServer");
        QTest::addColumn<bool>("nameOnly");
        QTest::newRow("serial device") << false << false;
        QTest::newRow("serial device named without /dev/") << false << true;
        QTest::newRow("ser2net's RFC 2217 port, its line at 1200 7E2 and RTS/CTS") << true << false;
    }
    void linesAreOpenedAt9600EightNoneOne()
    {
        QFETCH(bool, throughConsoleServer);
        QFETCH(bool, nameOnly);
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        Ser2netProcess server;
        if (throughConsoleServer)
            QVERIFY2(server.start(ptsname(master), Ser2netProcess::Mode::ComPortControl,
                                  "1200e72,rtscts"),
                     qPrintable(server.errorString()));
        qputenv("SWCFG_COM5",
                throughConsoleServer ? server.portName().toLatin1() : QByteArray(ptsname(master)));
        const std::unique_ptr<SerialLine> line = deviceLineFactory()(
            nameOnly ? QString::fromLatin1(ptsname(master) + 5) : comPortDeviceName(5));
        qunsetenv("SWCFG_COM5");
        QVERIFY2(line->open(), qPrintable(line->errorText()));
        QVERIFY(line->isOpen());
        termios settings{};
        QCOMPARE(tcgetattr(master, &settings), 0);
        line->close();
        ::close(master);
        QCOMPARE(cfgetispeed(&settings), speed_t(B9600));
        QCOMPARE(cfgetospeed(&settings), speed_t(B9600));
        QCOMPARE(settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS),
                 tcflag_t(CS8));
        QCOMPARE(settings.c_iflag & (IXON | IXOFF), tcflag_t(0));
    }
};

SWCFG_TEST_CLASS(ComPortsTest)
#include "com_ports_test.moc"
