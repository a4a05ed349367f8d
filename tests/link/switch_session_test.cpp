#include "link/link_messages.h"
#include "link/switch_session.h"
#include "link_rig.h"
#include "support/fakes.h"
#include "support/image_builders.h"
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

    // A command opens its port once; an answer that did not come makes the next step open it
    // afresh. Every device verified but the reset not sent, or not seen to leave the line: the
    // switch has not restarted.
    void portOpenedOncePerCommand_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("firstProbeSilent");
        QTest::addColumn<bool>("resetRefused");
        QTest::addColumn<bool>("resetUndelivered");
        QTest::addColumn<int>("opens");
        QTest::newRow("read") << false << false << false << false << 1;
        QTest::newRow("write") << true << false << false << false << 1;
        QTest::newRow("read, the first probe unanswered") << false << true << false << false << 2;
        QTest::newRow("write, the reset not sent") << true << false << true << false << 1;
        QTest::newRow("write, the reset not delivered") << true << false << false << true << 1;
    }
    void portOpenedOncePerCommand()
    {
        QFETCH(bool, write);
        QFETCH(bool, firstProbeSilent);
        QFETCH(bool, resetRefused);
        QFETCH(bool, resetUndelivered);
        Faults::FaultPlan faults;
        faults.probeFault =
            firstProbeSilent ? Faults::ProbeFault::Silent : Faults::ProbeFault::None;
        faults.probeFaultTimes = 1;
        LinkRig rig(2, TestImages::validImage(2), faults);
        rig.state.eepromImage = TestImages::validImage(2);
        if (resetRefused)
            rig.line.refuses = [](const QByteArray &command) { return command == "j"; };
        rig.line.delivers = !resetUndelivered;
        resetRefused = resetRefused || resetUndelivered;
        RecordingSink sink;
        SwitchSession session(rig.state, rig.line, rig.clock, sink);

        QCOMPARE(write ? session.write(2) : session.read(2),
                 resetRefused ? SessionOutcome::NotRestarted : SessionOutcome::Done);
        QCOMPARE(sink.texts,
                 resetRefused ? QStringList{LinkMessages::kNotRestarted} : QStringList{});
        QTEST(rig.line.opens, "opens");
        QVERIFY(!rig.line.isOpen());
    }

    // A stop asked for while an answer is awaited ends the wait at once: no second try, no
    // message, no command after it.
    void stopWhileWaiting_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QByteArray>("unanswered"); // the command's first bytes
        QTest::newRow("probe") << false << QByteArray("ns");
        QTest::newRow("module register") << false << QByteArray("nr31115001");
        QTest::newRow("bulk read of device 1") << false << QByteArray("nr10000256");
        QTest::newRow("first word write") << true << QByteArray("no00000");
    }
    void stopWhileWaiting()
    {
        QFETCH(bool, write);
        QFETCH(QByteArray, unanswered);
        LinkRig rig(2, TestImages::validImage(2));
        rig.state.takeLoadedImage(TestImages::validImage(2));
        rig.ignores = [&](const QByteArray &command) { return command.startsWith(unanswered); };
        qint64 sentAt = -1;
        rig.line.answer = [&, answer = rig.line.answer](const QByteArray &command) {
            if (command.startsWith(unanswered) && sentAt < 0)
                sentAt = rig.clock.micros;
            return answer(command);
        };
        RecordingSink sink;
        SwitchSession session(rig.state, rig.line, rig.clock, sink);
        session.setStopRequest([&] { return sentAt >= 0; });

        QCOMPARE(write ? session.write(2) : session.read(2), SessionOutcome::Stopped);
        QCOMPARE(sink.texts, QStringList{});
        QVERIFY(rig.line.commands.last().startsWith(unanswered));
        QCOMPARE(rig.line.commands.count(rig.line.commands.last()), 1);
        QVERIFY2(rig.clock.micros - sentAt < 20000, qPrintable(QString::number(rig.clock.micros)));
        QVERIFY(!rig.line.isOpen());
    }
};

SWCFG_TEST_CLASS(SwitchSessionTest)
#include "switch_session_test.moc"
