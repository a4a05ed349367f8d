#include "image/image_state.h"
#include "link/device_link.h"
#include "link/wire_protocol.h"
#include "link_rig.h"
#include "support/test_main.h"

#include <QTest>

#include <deque>

namespace
{

constexpr qint64 kByteMicros = 1042; // 10 bits at 9600 baud

// The scripted peer at 9600 baud, on the virtual time the link's waits pass: a command crosses the
// line, then its answer follows a byte time per byte, handed over every burstMicros (0: as it
// comes, as a UART does; more: as a USB adapter does).
struct PacedLine : ScriptedSerialLine {
    QByteArray reply;
    qint64 burstMicros = 0;
    int sendsWhileAnswering = 0; // commands sent before the last answer was all in

    bool send(const QByteArray &bytes) override
    {
        sendsWhileAnswering += coming_.empty() ? 0 : 1;
        qint64 at = std::max(now_ + bytes.size() * kByteMicros, answerEnd_);
        for (const char byte : reply) {
            at += kByteMicros;
            coming_.push_back({burstMicros > 0 ? (at / burstMicros + 1) * burstMicros : at, byte});
        }
        answerEnd_ = at;
        return ScriptedSerialLine::send(bytes);
    }
    void waitForInput(int maxMicros) override
    {
        now_ += maxMicros;
        for (; !coming_.empty() && coming_.front().first <= now_; coming_.pop_front())
            inject(QByteArray(1, coming_.front().second));
    }

private:
    qint64 now_ = 0;
    qint64 answerEnd_ = 0;
    std::deque<std::pair<qint64, char>> coming_; // when each byte is handed over
};

} // namespace

class AnswerLengthTest : public QObject
{
    Q_OBJECT

private slots:
    // Answers at line speed. A series of word writes learns the answer length once and then waits
    // for exactly that many bytes: no command goes out while the switch still answers, and no word
    // pays a quiet wait of its own; the next series, answered with another length, learns anew. A
    // probe or bulk answer a byte too long is refused whole, however late that byte comes.
    void answersAtLineSpeed_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("burstMicros");
        QTest::addColumn<bool>("accepted");
        const QByteArray words = "4C5F" + QByteArray(508, '1');
        QTest::newRow("writes, 11 bytes") << "write" << QByteArray(11, '0') << 0 << true;
        QTest::newRow("writes, 14: the echo") << "write" << QByteArray(14, '0') << 0 << true;
        QTest::newRow("writes, 30 bytes") << "write" << QByteArray(30, '0') << 0 << true;
        QTest::newRow("writes, 30 in bursts 16 ms apart")
            << "write" << QByteArray(30, '0') << 16000 << true;
        QTest::newRow("probe, 6 bytes") << "probe" << QByteArray("ns\0\1\2\3", 6) << 0 << true;
        QTest::newRow("probe, 7 bytes") << "probe" << QByteArray("ns\0\1\2\3\0", 7) << 0 << false;
        QTest::newRow("bulk read, 516 bytes") << "bulk"
                                              << "nr20" + words << 0 << true;
        QTest::newRow("bulk read, a digit more in the middle")
            << "bulk"
            << "nr20" + QByteArray(words).insert(256, '1') << 0 << false;
    }
    void answersAtLineSpeed()
    {
        QFETCH(QString, operation);
        QFETCH(QByteArray, answer);
        QFETCH(int, burstMicros);
        QFETCH(bool, accepted);
        ImageState state;
        PacedLine line;
        VirtualLinkClock clock;
        DeviceLink link(state, line, clock);
        line.reply = answer;
        line.burstMicros = burstMicros;

        if (operation == "probe") {
            const WireProtocol::PresenceStatus status =
                WireProtocol::presenceStatus(link.probeDevices().value, true);
            QCOMPARE(status.kind == WireProtocol::PresenceStatus::Checked, accepted);
        } else if (operation == "bulk") {
            QCOMPARE(link.readEeprom(0) == LinkStatus::Done, accepted);
            QCOMPARE(state.readBuffer[0] == 0x4C5F, accepted);
        }
        for (const int length : {int(answer.size()), answer.size() == 11 ? 30 : 11}) {
            if (operation != "write")
                break;
            line.reply = QByteArray(length, '0');
            const qint64 start = clock.micros;
            QCOMPARE(link.writeEepromPortWords(), LinkStatus::Done);
            QCOMPARE(line.sendsWhileAnswering, 0);
            QVERIFY(!state.writeTimedOut);
            // The wire time, a pass or a burst per word, and the series' two quiet waits.
            QVERIFY(clock.micros - start <=
                    48 * ((14 + length) * kByteMicros + burstMicros + 1000) + 100000);
        }
    }
};

SWCFG_TEST_CLASS(AnswerLengthTest)
#include "answer_length_test.moc"
