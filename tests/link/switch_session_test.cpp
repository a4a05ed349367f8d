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

    // A command opens its port once, --changed-only through its read and write phases too; a
    // missing or malformed answer makes the next step open it afresh. Every device verified but
    // the reset not sent, or not seen to leave the line: the switch has not restarted.
    void portOpenedOncePerCommand_data()
    {
        QTest::addColumn<QString>("command");    // read, write or changed (--changed-only)
        QTest::addColumn<QByteArray>("spoiled"); // the first answer to a command starting so...
        QTest::addColumn<QByteArray>("answer");  // ...is this; the reset: refused or undelivered
        QTest::addColumn<int>("opens");
        const QByteArray none;
        QTest::newRow("read") << "read" << none << none << 1;
        QTest::newRow("write") << "write" << none << none << 1;
        QTest::newRow("changed-only") << "changed" << none << none << 1;
        QTest::newRow("read, the first probe unanswered")
            << "read" << QByteArray("ns") << none << 2;
        QTest::newRow("read, a module answer a byte long")
            << "read" << QByteArray("nr31115001") << QByteArray("nr3103x") << 2;
        QTest::newRow("read, a garbled EEPROM answer")
            << "read" << QByteArray("nr10000256") << "nr10" + QByteArray(512, 'G') << 2;
        QTest::newRow("write, the first word unanswered")
            << "write" << QByteArray("no00000") << none << 2;
        QTest::newRow("changed-only, its word unanswered")
            << "changed" << QByteArray("no10080") << none << 2;
        QTest::newRow("write, the reset not sent")
            << "write" << QByteArray("j") << QByteArray("refused") << 1;
        QTest::newRow("write, the reset not delivered")
            << "write" << QByteArray("j") << QByteArray("undelivered") << 1;
    }
    void portOpenedOncePerCommand()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, spoiled);
        QFETCH(QByteArray, answer);
        LinkRig rig(2, TestImages::validImage(2));
        rig.state.takeLoadedImage(TestImages::validImage(2));
        rig.state.eepromImage[1][40] ^= 0x0101; // what --changed-only writes
        const bool resetFails = spoiled == "j";
        bool spoil = !spoiled.isEmpty() && !resetFails;
        rig.line.answer = [&, switchAnswer = rig.line.answer](const QByteArray &sent) {
            const QByteArray real = switchAnswer(sent);
            if (!spoil || !sent.startsWith(spoiled))
                return real;
            spoil = false;
            return answer;
        };
        rig.line.refuses = [&](const QByteArray &sent) {
            return sent == "j" && answer == "refused";
        };
        rig.line.delivers = answer != "undelivered";
        RecordingSink sink;
        SwitchSession session(rig.state, rig.line, rig.clock, sink);

        const SessionOutcome outcome = command == "read"    ? session.read(2)
                                       : command == "write" ? session.write(2)
                                                            : session.writeChanges(2);
        QCOMPARE(outcome, resetFails ? SessionOutcome::NotRestarted : SessionOutcome::Done);
        QCOMPARE(sink.texts, resetFails ? QStringList{LinkMessages::kNotRestarted} : QStringList{});
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
