#include "launcher/ser2net_process.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "link/qt_serial_line.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

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
        EventLoopClock clock;
        const std::unique_ptr<SerialLine> line = deviceLineFactory()(
            nameOnly ? QString::fromLatin1(ptsname(master) + 5) : comPortDeviceName(5), clock);
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

    // Another program's lock of a pseudo-terminal, in a lock folder of the test's own: {pid} is
    // a live process's number, {ended} one that has ended, {lock} the lock file's path. A live
    // one keeps the port closed whatever form its number takes; an ended one's lock is removed
    // and the port opened; a lock naming no process, or that is no file, is named as such.
    void anotherProgramsLock_data()
    {
        QTest::addColumn<QString>("lockName"); // {pts}: the terminal's name below /dev/pts
        QTest::addColumn<QByteArray>("lock");  // empty: a folder in its place; "{link}": a link
        QTest::addColumn<QString>("reason");   // empty: the port opens
        const QString inUse = "in use by another program (process {pid}, lock file {lock})";
        const QString loopText = QString::fromLocal8Bit(std::strerror(ELOOP));
        const QString noProcess =
            "lock file {lock} names no process: remove it if no program uses the port";
        QTest::newRow("ten characters and a newline, live")
            << "LCK..pts_{pts}" << QByteArray("{pid:10}\n") << inUse;
        QTest::newRow("the number alone, live") << "LCK..pts_{pts}" << QByteArray("{pid}") << inUse;
        QTest::newRow("binary, live") << "LCK..pts_{pts}" << QByteArray("{binary pid}") << inUse;
        QTest::newRow("number, program and host, live")
            << "LCK..pts_{pts}" << QByteArray("{pid}\nminicom\nhost\n") << inUse;
        QTest::newRow("the device named below /dev, live")
            << "LCK..pts_{pts}" << QByteArray("{pid}\n") << inUse;
        QTest::newRow("under the link's name, live")
            << "LCK..ttyLINK" << QByteArray("{pid}\n") << inUse;
        QTest::newRow("ten characters, ended")
            << "LCK..pts_{pts}" << QByteArray("{ended:10}\n") << QString();
        QTest::newRow("binary, ended")
            << "LCK..pts_{pts}" << QByteArray("{binary ended}") << QString();
        QTest::newRow("empty") << "LCK..pts_{pts}" << QByteArray("\n") << noProcess;
        QTest::newRow("process 0") << "LCK..pts_{pts}" << QByteArray("0\n") << noProcess;
        QTest::newRow("a folder") << "LCK..pts_{pts}" << QByteArray()
                                  << "lock file {lock} cannot be read: not a regular file";
        QTest::newRow("a symbolic link") << "LCK..pts_{pts}" << QByteArray("{link}")
                                         << "lock file {lock} cannot be read: " + loopText;
    }
    void anotherProgramsLock()
    {
        QFETCH(QString, lockName);
        QFETCH(QByteArray, lock);
        QFETCH(QString, reason);
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        const QString pts = QString::fromLocal8Bit(ptsname(master));
        QTemporaryDir locks;
        const QString link = locks.filePath("ttyLINK");
        QVERIFY(QFile::link(pts, link));
        QProcess ended;
        ended.start("true");
        QVERIFY(ended.waitForStarted());
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        const auto binary = [](qint64 pid) {
            const pid_t number = static_cast<pid_t>(pid);
            return QByteArray(reinterpret_cast<const char *>(&number), sizeof number);
        };
        const QString lockPath = locks.filePath(lockName.replace("{pts}", pts.section('/', -1)));
        lock.replace("{pid:10}", QByteArray::number(getpid()).rightJustified(10, ' '))
            .replace("{ended:10}", QByteArray::number(endedPid).rightJustified(10, ' '))
            .replace("{pid}", QByteArray::number(getpid()))
            .replace("{binary pid}", binary(getpid()))
            .replace("{binary ended}", binary(endedPid));
        if (lock.isEmpty()) {
            QVERIFY(QDir().mkdir(lockPath));
        } else if (lock == "{link}") {
            QVERIFY(QFile::link("/dev/null", lockPath));
        } else {
            QFile file(lockPath);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lock) == lock.size());
        }

        const QString device = QByteArray(QTest::currentDataTag()).contains("below /dev")
                                   ? pts.mid(QStringLiteral("/dev/").size())
                                   : link;
        QtSerialLine line(device, {locks.path()});
        QCOMPARE(line.open(), reason.isEmpty());
        QCOMPARE(line.errorText(), reason.isEmpty()
                                       ? QString()
                                       : device + ": " +
                                             reason.replace("{pid}", QString::number(getpid()))
                                                 .replace("{lock}", lockPath));
        // A lock of a process that ended is taken over; any other stays.
        QCOMPARE(QFileInfo::exists(lockPath),
                 !QByteArray(QTest::currentDataTag()).endsWith(", ended"));
        line.close();
        ::close(master);
    }
};

SWCFG_TEST_CLASS(ComPortsTest)
#include "com_ports_test.moc"
