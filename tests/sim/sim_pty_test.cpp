#include "image/factory_image.h"
#include "launcher/sim_process.h"
#include "support/test_main.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTest>

namespace
{

QByteArray exchange(QSerialPort &port, const QByteArray &command, int answerSize)
{
    port.write(command);
    QByteArray answer;
    while (answer.size() < answerSize && port.waitForReadyRead(5000))
        answer += port.readAll();
    return answer;
}

} // namespace

class SimPtyTest : public QObject
{
    Q_OBJECT

private slots:
    // The simulator as the tool meets it: a terminal at line speed, a state file that follows
    // every write, a log of the commands, and a clean end.
    void answersOnItsTerminalAndSavesWhatIsWritten()
    {
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "2", "--pace"}), qPrintable(sim.errorString()));
        QCOMPARE(sim.stateImage(), std::optional<ImageWords>(factoryImage(2)));
        QSerialPort port(sim.linkPath());
        QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));

        QCOMPARE(exchange(port, "ns", 6), QByteArray("ns\0\1\2\3", 6));
        QCOMPARE(exchange(port, "no20028076095\r", 14), QByteArray("no20028076095\r"));
        // Saved before the answer left.
        ImageWords expected = factoryImage(2);
        expected[2][14] = 19551;
        QCOMPARE(sim.stateImage(), std::optional<ImageWords>(expected));

        QElapsedTimer clock;
        clock.start();
        const QByteArray answer = exchange(port, "nr20000256\r", 516);
        // 11 bytes in and 516 out at 10 bits a byte and 9600 baud come to 0.55 s.
        QVERIFY2(clock.elapsed() >= 500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(answer.size(), 516);
        QCOMPARE(answer.left(4), QByteArray("nr20"));
        QCOMPARE(answer.mid(4 + 4 * 14, 4), QByteArray("4C5F"));

        QVERIFY(sim.waitForLogLines(3));
        QCOMPARE(sim.logLines(), (QStringList{"probe", "write 2 0 028 19551", "read 2 0 000 256"}));
        port.close();
        sim.stop();
        QCOMPARE(sim.exitCode(), 0);
    }
};

SWCFG_TEST_CLASS(SimPtyTest)
#include "sim_pty_test.moc"
