#include "link/switch_session.h"
#include "link_rig.h"
#include "support/fakes.h"
#include "support/test_main.h"

#include <QTest>

class SwitchSessionTest : public QObject
{
    Q_OBJECT

private slots:
    // The checks before a transfer, where only the count of register reads tells a fault, or
    // the simulator gives no such answer. The module register is read again while it says "not
    // ready" (1), up to five times, and once more when it names the wrong module; Read on the
    // 24-port model takes a second reading.
    void checks_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QByteArray>("probeAnswer"); // empty: the switch's own
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("reads");
        QTest::addColumn<QString>("message"); // empty: passed
        const QString eightPort = QStringLiteral("8-Port Module Not Found !");
        const QString detected =
            QStringLiteral("Module is detected ! This device is not pure 24-Port N-Way Switch !");
        QTest::newRow("32-port: 1 six times, then 1")
            << 2 << false << QByteArray() << QList<int>{1} << 7 << eightPort;
        QTest::newRow("32-port: 1 three times, then 3")
            << 2 << true << QByteArray() << QList<int>{1, 1, 1, 3} << 4 << QString();
        QTest::newRow("32-port: 6, then 3")
            << 2 << false << QByteArray() << QList<int>{6, 3} << 2 << QString();
        QTest::newRow("24-port read: 0, then 3")
            << 0 << false << QByteArray() << QList<int>{0, 3} << 2 << detected;
        QTest::newRow("24-port read: 0, then 1, 6")
            << 0 << false << QByteArray() << QList<int>{0, 1, 6} << 3 << detected;
        QTest::newRow("24-port write: one reading")
            << 0 << true << QByteArray() << QList<int>{0, 3} << 1 << QString();
        // Each device byte must name its device; the module byte counts only on models with one.
        QTest::newRow("24-port: n s 5 9 2 7") << 0 << false << QByteArray("ns\5\x09\2\7")
                                              << QList<int>{0} << 0 << "Device 0,1 Not Found !";
    }
    void checks()
    {
        QFETCH(int, model);
        QFETCH(bool, write);
        QFETCH(QByteArray, probeAnswer);
        QFETCH(QList<int>, codes);
        QFETCH(QString, message);
        Faults::FaultPlan faults;
        faults.moduleCodes = std::vector<int>(codes.begin(), codes.end());
        LinkRig rig(model, {}, faults);
        if (!probeAnswer.isEmpty()) {
            rig.line.answer = [probeAnswer, answer = rig.line.answer](const QByteArray &command) {
                return command == "ns" ? probeAnswer : answer(command);
            };
        }
        RecordingSink sink;
        SwitchSession session(rig.state, rig.line, rig.clock, sink);

        const SessionOutcome outcome = write ? session.write(model) : session.read(model);

        QCOMPARE(outcome == SessionOutcome::Done, message.isEmpty());
        QCOMPARE(sink.texts, message.isEmpty() ? QStringList{} : QStringList{message});
        QTEST(int(rig.line.commands.count("nr31115001\r")), "reads");
    }
};

SWCFG_TEST_CLASS(SwitchSessionTest)
#include "switch_session_test.moc"
