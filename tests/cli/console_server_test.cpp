#include "image/bin_file.h"
#include "image/factory_image.h"
#include "launcher/ser2net_process.h"
#include "launcher/sim_process.h"
#include "support/files.h"
#include "support/test_main.h"

#include <QDir>
#include <QProcess>
#include <QTest>

namespace
{

using Mode = Ser2netProcess::Mode;

// swcfgctl, started; "<exit status>|<standard error>" once it ended.
struct CtlRun {
    QProcess process;
    explicit CtlRun(const QStringList &arguments)
    {
        process.start(QStringLiteral(SWCFGCTL_PATH), arguments);
    }
    QString result()
    {
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return QStringLiteral("swcfgctl did not finish");
        return QString::number(process.exitCode()) + '|' +
               QString::fromLocal8Bit(process.readAllStandardError());
    }
};

int countOf(const QStringList &log, const QString &kind)
{
    int count = 0;
    for (const QString &line : log)
        count += line.section(' ', 0, 0) == kind ? 1 : 0;
    return count;
}

} // namespace

// swcfgctl against the simulated switch behind a real console server (ser2net on 127.0.0.1).
class ConsoleServerTest : public QObject
{
    Q_OBJECT

private slots:
    // Read, then Write of the file changed, through either kind of port, named on the command line
    // or as COM2. The 24-port switch's probe answer carries 0xFF for the absent module device,
    // which Telnet doubles on the way.
    void readThenWrite_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("asCom2");
        QTest::newRow("raw TCP, 1000Base-SX") << int(Mode::RawTcp) << 1 << false;
        QTest::newRow("RFC 2217 as SWCFG_COM2, 24-port") << int(Mode::ComPortControl) << 0 << true;
    }
    void readThenWrite()
    {
        QFETCH(int, mode);
        QFETCH(int, model);
        QFETCH(bool, asCom2);
        SimProcess sim;
        QVERIFY2(sim.start({"--model", QString::number(model)}), qPrintable(sim.errorString()));
        Ser2netProcess server;
        QVERIFY2(server.start(sim.ptyPath(), Mode(mode)), qPrintable(server.errorString()));
        qputenv("SWCFG_COM2", server.portName().toLatin1());
        const QString port = asCom2 ? QStringLiteral("COM2") : server.portName();
        const QString modelName = QString::number(model);
        const QString file = QDir(sim.folder()).filePath("config.bin");

        QCOMPARE(CtlRun({"read", "--model", modelName, "--port", port, "-o", file}).result(), "0|");
        QByteArray bytes = fileBytes(file);
        QCOMPARE(bytes, fileBytes(sim.statePath()));
        bytes[2 * 256 + 61] = '\x3C';
        QVERIFY(putFile(file, bytes));
        QCOMPARE(CtlRun({"write", "--model", modelName, "--port", port, file}).result(), "0|");
        qunsetenv("SWCFG_COM2");
        QVERIFY(SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        QCOMPARE(fileBytes(sim.statePath()), bytes);
        QCOMPARE(sim.logLines().count("reset"), 1);
        QCOMPARE(sim.logLines().last(), QString("reset"));
    }

    // A server that is not there, that speaks the other protocol, or that goes away or floods
    // while words are written: the port message with its reason, and the exit status of a serial
    // port that does not open or a line that vanishes. {port} is the port named. An answer one
    // byte too long is refused even when its bytes come further apart than the link's quiet time.
    void faults_data()
    {
        QTest::addColumn<int>("serverMode"); // -1: none
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QString>("simFaults");
        QTest::addColumn<int>("stopAfterWrites"); // 0: the server stays
        QTest::addColumn<QString>("result");
        const QString portError = "COM Port Open Error !\n{port}: ";
        QTest::newRow("refused") << -1 << "tcp" << QString() << 0
                                 << "3|" + portError + "Connection refused\n";
        QTest::newRow("RFC 2217 to a raw port") << int(Mode::RawTcp) << "rfc2217" << QString() << 0
                                                << "3|" + portError + "no COM-PORT-OPTION\n";
        QTest::newRow("raw TCP to an RFC 2217 port")
            << int(Mode::ComPortControl) << "tcp" << QString() << 0
            << "3|" + portError + "the server speaks Telnet: use rfc2217://\n";
        QTest::newRow("the server stops while device 1 is written")
            << int(Mode::ComPortControl) << "rfc2217" << QString() << 150
            << "4|" + portError +
                   "The remote host closed the connection\nEEPROM writing error ! Please write "
                   "once again ! \n";
        QTest::newRow("the line floods once 100 words were written")
            << int(Mode::RawTcp) << "tcp"
            << "--flood-after-writes 100" << 0
            << "4|" + portError +
                   "the server sent more than 16384 bytes for one command\nEEPROM writing error ! "
                   "Please write once again ! \n";
        QTest::newRow("a long probe answer, a byte every 8 ms")
            << int(Mode::RawTcp) << "tcp"
            << "--trickle 8 --probe-fault long" << 0
            << "3|Some devices not ready !  Please try again ! \n";
    }
    void faults()
    {
        QFETCH(int, serverMode);
        QFETCH(QString, scheme);
        QFETCH(QString, simFaults);
        QFETCH(int, stopAfterWrites);
        QFETCH(QString, result);
        SimProcess sim;
        QVERIFY2(sim.start(QStringList{"--model", "0", "--pace"} +
                           simFaults.split(' ', Qt::SkipEmptyParts)),
                 qPrintable(sim.errorString()));
        const QString file = QDir(sim.folder()).filePath("in.bin");
        QVERIFY(putFile(file, BinFile::encode(factoryImage(0), 0)));
        Ser2netProcess server;
        if (serverMode >= 0)
            QVERIFY2(server.start(sim.ptyPath(), Mode(serverMode)),
                     qPrintable(server.errorString()));
        const QString port = QStringLiteral("%1://127.0.0.1:%2")
                                 .arg(scheme)
                                 .arg(serverMode >= 0 ? server.port() : Ser2netProcess::freePort());

        CtlRun run({"write", "--model", "24", "--port", port, file});
        if (stopAfterWrites > 0) {
            QVERIFY(sim.waitFor([&] { return countOf(sim.logLines(), "write") >= stopAfterWrites; },
                                60000));
            server.stop();
        }
        QCOMPARE(run.result(), result.replace("{port}", port));
        const QStringList log = sim.logLines();
        QCOMPARE(countOf(log, "write") > 0, result.startsWith("4|"));
        QCOMPARE(countOf(log, "reset"), 0);
    }
};

SWCFG_TEST_CLASS(ConsoleServerTest)
#include "console_server_test.moc"
