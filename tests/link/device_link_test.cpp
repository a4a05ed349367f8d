#include "image/device_models.h"
#include "link/device_link.h"
#include "link/wire_protocol.h"
#include "link_rig.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTest>

using WireProtocol::writeWordCommand;

class DeviceLinkTest : public QObject
{
    Q_OBJECT

private slots:
    // The byte is the low hex digit of a 6-byte answer; an unanswered read gives up after a fixed
    // number of passes, or after 3 s when passes take longer than they wait, or at once when the
    // line is gone.
    void registerRead_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("passCostMicros");
        QTest::addColumn<bool>("gone");
        QTest::addColumn<int>("value"); // -1: no value
        QTest::addColumn<long>("passes");
        QTest::newRow("9F") << QByteArray("nr319F") << 0 << false << 15 << 1L;
        QTest::newRow("5 bytes") << QByteArray("nr310") << 0 << false << -1 << 10001L;
        QTest::newRow("none") << QByteArray() << 0 << false << -1 << 10001L;
        QTest::newRow("none, passes of 1 ms") << QByteArray() << 900 << false << -1 << 3001L;
        QTest::newRow("none, the line gone") << QByteArray() << 0 << true << -1 << 0L;
    }
    void registerRead()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, value);
        LinkRig rig;
        rig.line.answer = [answer](const QByteArray &) { return answer; };
        QFETCH(int, passCostMicros);
        rig.clock.passCostMicros = passCostMicros;
        QFETCH(bool, gone);
        rig.line.gone = gone;

        const LinkResult<quint8> result =
            DeviceLink(rig.state, rig.line, rig.clock).readRegisterByte(3, 1, 115);

        QCOMPARE(rig.line.commands, QByteArrayList{"nr31115001\r"});
        QCOMPARE(result.answered() ? result.value : -1, value);
        QTEST(rig.clock.passes, "passes");
        QVERIFY(!rig.line.isOpen());
    }

    // A word write waits up to 3 s for the 11 bytes its answer has at least (0: none came), then
    // (the first of a series) until the line falls quiet; the answers' other lengths and shapes
    // are AnswerLengthTest's.
    void wordWrite_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::newRow("none") << QList<int>{0};
        QTest::newRow("30 bytes, then none") << QList<int>{30, 0};
    }
    void wordWrite()
    {
        QFETCH(QList<int>, answers);
        LinkRig rig;
        rig.line.answer = [&](const QByteArray &) {
            return QByteArray(answers.value(rig.line.commands.size() - 1), '0');
        };
        DeviceLink link(rig.state, rig.line, rig.clock);
        QVERIFY(link.openPort());
        for (const int length : answers) {
            rig.line.chunkSize = 0; // the rest of the last answer comes before the next word
            rig.line.waitForInput(0);
            rig.line.chunkSize = 1;
            const qint64 start = rig.clock.elapsedMs();
            QCOMPARE(link.writeWord(1, 1, 132, 16388) != WordWrite::Answered, length == 0);
            QCOMPARE(rig.clock.elapsedMs() - start >= 3000, length == 0);
        }
        QCOMPARE(rig.line.commands.first(), "no11132064004\r");
        QCOMPARE(rig.line.bytesAvailable(), answers.last()); // all of the last one
    }

    // Four leading bytes, then four upper-case hex digits per word; line ends after them are no
    // part of it. The answer comes in chunks of 200 bytes and the bar follows the bytes received;
    // a short or garbled answer (waited for 5 s at most) gives no words, and the fault says what
    // came.
    void bulkRead_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QStringList>("progress");
        QTest::addColumn<QString>("fault"); // empty: read
        const QByteArray words = "4C5F" + QByteArray(504, '0') + "FFFF";
        QTest::newRow("516 bytes")
            << "nr20" + words << QStringList{"0", "5", "25", "45", "80", "95", "100", "-100"}
            << QString();
        QTest::newRow("516 bytes, then gone")
            << "nr20" + words << QStringList{"0", "5", "80", "95", "100", "-100"} << QString();
        QTest::newRow("515 bytes")
            << "nr20" + words.chopped(1) << QStringList{"0", "5", "25", "45", "56", "80", "0", "-0"}
            << "the answer of device 2 was 515 bytes long, 516 expected";
        QTest::newRow("none") << QByteArray() << QStringList{"0", "5", "80", "0", "-0"}
                              << "device 2 did not answer";
        QTest::newRow("G at the end")
            << "nr20" + words.chopped(1) + 'G' << QStringList{"0", "5", "25", "45", "80", "0", "-0"}
            << "the answer of device 2 has \"G\" at byte 516, where a hexadecimal digit belongs";
        QTest::newRow("CR among the digits")
            << "nr20" + words.chopped(1) + "\r\n"
            << QStringList{"0", "5", "25", "45", "80", "0", "-0"}
            << "the answer of device 2 has 0x0d at byte 516, where a hexadecimal digit belongs";
        QTest::newRow("CR LF, then more")
            << "nr20" + words + "\r\nOK" << QStringList{"0", "5", "25", "45", "80", "0", "-0"}
            << "the answer of device 2 was 520 bytes long, 516 expected";
    }
    void bulkRead()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, progress);
        QFETCH(QString, fault);
        LinkRig rig;
        rig.line.chunkSize = 200;
        // "... then gone": the device goes away as soon as it answered (a cable pulled).
        const bool gone = QByteArray(QTest::currentDataTag()).endsWith("then gone");
        rig.line.answer = [answer, gone, &rig](const QByteArray &) {
            rig.line.gone = gone;
            return answer;
        };
        DeviceLink link(rig.state, rig.line, rig.clock, rig.recordProgress());
        const bool read = fault.isEmpty();
        const LinkResult<DeviceWords> words = link.readEeprom(2);
        QCOMPARE(words.status, read ? LinkStatus::Done : LinkStatus::NoAnswer);

        QCOMPARE(link.answerFault(), fault);
        QCOMPARE(rig.line.commands, QByteArrayList{"nr20000256\r"});
        QCOMPARE(rig.progress, progress);
        QCOMPARE(words.value[0], read ? 19551 : 0);
        QCOMPARE(words.value[127], read ? 65535 : 0);
        QCOMPARE(rig.clock.elapsedMs() / 1000, answer.size() < 516 ? 5 : 0);
    }

    // Input that came before a command is dropped before it is sent, never after: a fast peer's
    // answer is there by the time the send returns.
    void staleInputDroppedBeforeSending()
    {
        LinkRig rig(2, TestImages::validImage(2));
        rig.line.answersOnSend = true;
        DeviceLink link(rig.state, rig.line, rig.clock);

        rig.line.inject("stale");
        QCOMPARE(link.readRegisterByte(3, 1, 115).value, 3);
        rig.line.inject("stale");
        QCOMPARE(link.probeDevices().value, QByteArray("ns\0\1\2\3", 6));
        rig.line.inject("stale");
        const LinkResult<DeviceWords> words = link.readEeprom(1);
        QCOMPARE(words.status, LinkStatus::Done);
        QCOMPARE(words.value, rig.device.eeprom()[1]);
        link.openPort();
        rig.line.inject("stale bytes");
        QCOMPARE(link.writeWord(1, 0, 6, 0x1234), WordWrite::Answered);

        QCOMPARE(rig.line.sendsOverUnreadInput, 0);
        // No waiting for answers already there; one quiet pass each shows that nothing follows
        // the probe's and the bulk read's answers, and two learn the word write's answer length.
        QCOMPARE(rig.clock.passes, 4L);
    }

    // Every word of the model's devices; a device that stops answering ends its own pass only.
    // The bar runs to 99 and 100 for each device and back to 0 after devices 0..2.
    void writeAll_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("silentFrom"); // first unanswered word of device 0
        QTest::addColumn<int>("writes");
        QTest::newRow("1000Base-SX") << 1 << 128 << 512;
        QTest::newRow("24-port, device 0 silent from word 5") << 0 << 5 << 6 + 256;
    }
    void writeAll()
    {
        QFETCH(int, model);
        QFETCH(int, silentFrom);
        LinkRig rig;
        rig.state.eepromImage = TestImages::validImage(2);
        rig.ignores = [silentFrom](const QByteArray &command) {
            return command.startsWith("no00") && command.mid(4, 3).toInt() >= 2 * silentFrom;
        };

        DeviceLink link(rig.state, rig.line, rig.clock, rig.recordProgress());
        QCOMPARE(link.writeEepromAll(model), LinkStatus::Done);

        QTEST(int(rig.line.commands.size()), "writes");
        for (int d = 1; d < 4; ++d)
            QCOMPARE(rig.device.eeprom()[d],
                     d < deviceCountOf(model) ? rig.state.eepromImage[d] : DeviceWords{});
        QCOMPARE(rig.progress.count("0"), 4);
        QCOMPARE(rig.progress.count("100"), 4);
        QCOMPARE(rig.progress.count("99"), silentFrom < 128 ? 2 : deviceCountOf(model));
        QCOMPARE(rig.progress.last(), "-100");
    }

    // The port words of devices 0..2 go to EEPROM words 13..28. While a PHY update is pending,
    // each port's advertised abilities (bits 0..3 of its second word) go to its PHY, then
    // auto-negotiation restarts.
    void portWordsToTheSwitch_data()
    {
        QTest::addColumn<int>("secondWord");
        QTest::addColumn<int>("advertisement");
        QTest::newRow("abilities 15") << 0x4C5F << 1505;
        QTest::newRow("abilities 10") << 0x000A << 1345;
    }
    void portWordsToTheSwitch()
    {
        QFETCH(int, secondWord);
        QFETCH(int, advertisement);
        LinkRig rig;
        rig.state.portWords[1][2 * 5 + 1] = static_cast<quint16>(secondWord);
        rig.state.portWords[3].fill(0x1111);
        rig.state.phyUpdatePending = true;
        DeviceLink link(rig.state, rig.line, rig.clock);

        QCOMPARE(link.writeEepromPortWords(), LinkStatus::Done);
        QCOMPARE(rig.line.commands.size(), 48);
        QCOMPARE(rig.device.eeprom()[1][13 + 2 * 5 + 1], secondWord);
        QCOMPARE(rig.device.eeprom()[2][28], kDefaultSecondPortWord);
        QCOMPARE(rig.device.eeprom()[3], DeviceWords{});

        link.openPort();
        link.writePhyRegisters();
        link.writePhyRegisters(); // nothing pending any more: nothing sent

        QCOMPARE(rig.line.commands.size(), 48 + 3 * 8 * 4);
        QCOMPARE(rig.line.commands.mid(48 + 4 * (8 + 5), 4),
                 (QByteArrayList{writeWordCommand(1, 1, 134, static_cast<quint16>(advertisement)),
                                 writeWordCommand(1, 1, 132, 16388 + 32 * 5),
                                 writeWordCommand(1, 1, 134, 13056),
                                 writeWordCommand(1, 1, 132, 16384 + 32 * 5)}));
        QVERIFY(!rig.state.phyUpdatePending);
        QVERIFY(rig.line.isOpen()); // the caller's port stays open
    }
};

SWCFG_TEST_CLASS(DeviceLinkTest)
#include "device_link_test.moc"
