#include "image/module1.h"
#include "link/device_link.h"
#include "link/paced_serial_line.h"
#include "link/wire_protocol.h"
#include "support/scripted_serial_line.h"
#include "support/test_main.h"

#include <QTest>

// Answers at true line speed, as a UART or a USB adapter hands them over: the link must neither
// run ahead of the switch nor take an answer of the wrong length for a good one.
class AnswerLengthTest : public QObject
{
    Q_OBJECT

private slots:
    // Two series of word writes, the switch answering with another length in the second: each
    // series learns its length once, then waits for exactly that many bytes, so no command goes
    // out while the switch still answers, and no word pays a quiet wait of its own.
    void writeSeriesStaysInStep_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("burstMicros");
        QTest::newRow("11 bytes") << 11 << 0;
        QTest::newRow("14 bytes: the command echoed") << 14 << 0;
        QTest::newRow("30 bytes") << 30 << 0;
        QTest::newRow("14 bytes in bursts 4 ms apart") << 14 << 4000;
        QTest::newRow("30 bytes in bursts 16 ms apart") << 30 << 16000;
    }
    void writeSeriesStaysInStep()
    {
        QFETCH(int, length);
        QFETCH(int, burstMicros);
        Module1 module;
        PacedSerialLine line;
        VirtualLinkClock clock;
        line.burstMicros = burstMicros;
        line.answer = [&length](const QByteArray &) { return QByteArray(length, '0'); };
        DeviceLink link(module, line, clock);

        for (const int series : {length, length == 11 ? 30 : 11}) {
            length = series;
            line.commands.clear();
            line.bytesOnTheWire = 0;
            const qint64 start = clock.micros;

            QCOMPARE(link.WriteEEPROMPartial(), LinkStatus::Done);

            QCOMPARE(line.commands.size(), 48);
            QCOMPARE(line.sendsWhileAnswering, 0);
            QVERIFY(!module.WriteTimedOut);
            // The wire time, one pass or burst per word, and the two quiet waits of the series.
            const qint64 bound = line.bytesOnTheWire * PacedSerialLine::kByteMicros +
                                 48 * (burstMicros + 1000) + 100000;
            QVERIFY2(clock.micros - start <= bound,
                     qPrintable(QString("%1 us").arg(clock.micros - start)));
        }
    }

    // The probe's answer is 6 bytes; a 7th a byte time later makes it one the commands refuse.
    void probeAnswerLength_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("kind");
        QTest::newRow("6 bytes") << QByteArray("ns\0\1\2\3", 6)
                                 << int(WireProtocol::PresenceStatus::Checked);
        QTest::newRow("7 bytes") << QByteArray("ns\0\1\2\3\0", 7)
                                 << int(WireProtocol::PresenceStatus::NotReady);
    }
    void probeAnswerLength()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, kind);
        Module1 module;
        PacedSerialLine line;
        VirtualLinkClock clock;
        line.answer = [answer](const QByteArray &) { return answer; };

        const LinkResult<QByteArray> probe = DeviceLink(module, line, clock).CheckSystemBus();

        QCOMPARE(probe.value, answer);
        QCOMPARE(int(WireProtocol::presenceStatus(probe.value, true).kind), kind);
    }

    // One stray digit in the middle of a bulk answer would shift every later word: the answer is
    // refused and ReadBuffer keeps what it held.
    void bulkAnswerLength_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("read");
        const QByteArray words = "4C5F" + QByteArray(504, '1') + "FFFF";
        QTest::newRow("516 bytes") << "nr20" + words << true;
        QTest::newRow("517 bytes: a digit more in the middle")
            << "nr20" + words.left(256) + '1' + words.mid(256) << false;
    }
    void bulkAnswerLength()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, read);
        Module1 module;
        PacedSerialLine line;
        VirtualLinkClock clock;
        line.answer = [answer](const QByteArray &) { return answer; };
        module.ReadBuffer.fill(0x5555);
        module.CurDeviceNo = 2;

        QCOMPARE(DeviceLink(module, line, clock).ReadEEPROM(),
                 read ? LinkStatus::Done : LinkStatus::NoAnswer);

        QCOMPARE(module.ReadBuffer[0], read ? 0x4C5F : 0x5555);
        QCOMPARE(module.ReadBuffer[127], read ? 0xFFFF : 0x5555);
    }
};

SWCFG_TEST_CLASS(AnswerLengthTest)
#include "answer_length_test.moc"
