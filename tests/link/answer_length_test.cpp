#include "image/image_state.h"
#include "link/answer_bursts.h"
#include "link/device_link.h"
#include "link/wire_protocol.h"
#include "link_rig.h"
#include "support/test_main.h"

#include <QTest>

#include <deque>
#include <vector>

namespace
{

constexpr qint64 kByteMicros = 1042; // 10 bits at 9600 baud, rounded up

// How the bytes of an answer reach the link: each crosses the line a byte time after the one
// before, and after every burstBytes the line pauses gapMicros; a burst is handed over as its
// bytes cross (a busy controller) or together once its last one did (a USB adapter).
struct AnswerShape {
    int gapMicros = 0;
    int burstBytes = 0; // 0: no bursts
    bool together = true;
    qint64 byteMicros = kByteMicros; // less: a peer faster than the line
};

// A 9600-baud line in virtual time, and the clock that reads it. A command crosses the line, then
// the reply's bytes follow in their shape. A wait for input ends as soon as a byte is handed over,
// as on a real port.
class PacedLine : public ScriptedSerialLine, public LinkClock
{
public:
    std::function<QByteArray(const QByteArray &command)> reply;
    AnswerShape shape;
    int sendsWhileAnswering = 0; // commands sent before the last answer was all in
    qint64 busyMicros = 0;       // from each command to the last byte of its answer
    qint64 now = 0;

    bool send(const QByteArray &bytes) override
    {
        sendsWhileAnswering += coming_.empty() ? 0 : 1;
        const QByteArray answer = reply(bytes);
        const int burst = shape.burstBytes > 0 ? shape.burstBytes : int(answer.size());
        qint64 at = now + bytes.size() * kByteMicros;
        std::vector<qint64> crossed;
        for (qsizetype i = 0; i < answer.size(); ++i)
            crossed.push_back(at +=
                              shape.byteMicros + (i > 0 && i % burst == 0 ? shape.gapMicros : 0));
        for (qsizetype i = 0; i < answer.size(); ++i) {
            const qsizetype last = std::min(answer.size(), (i / burst + 1) * burst) - 1;
            const bool together = shape.together && shape.burstBytes > 0;
            coming_.push_back({crossed[std::size_t(together ? last : i)], answer.at(i)});
        }
        busyMicros += at - now;
        return ScriptedSerialLine::send(bytes);
    }
    void waitForInput(int maxMicros) override
    {
        const bool arrives = !coming_.empty() && coming_.front().first <= now + maxMicros;
        advance(arrives ? int(std::max<qint64>(coming_.front().first - now, 0)) : maxMicros);
    }
    qint64 elapsedMs() const override { return now / 1000; }
    qint64 elapsedMicros() const override { return now; }
    void pass(SerialLine &, int maxMicros) override { waitForInput(maxMicros); }
    void rest(SerialLine &, int micros) override { advance(micros); }
    qsizetype stillComing() const { return qsizetype(coming_.size()); }

private:
    void advance(int micros)
    {
        now += micros;
        for (; !coming_.empty() && coming_.front().first <= now; coming_.pop_front())
            inject(QByteArray(1, coming_.front().second));
    }

    std::deque<std::pair<qint64, char>> coming_; // when each byte is handed over
};

} // namespace

Q_DECLARE_METATYPE(AnswerShape)

class AnswerLengthTest : public QObject
{
    Q_OBJECT

private slots:
    // However a switch pads its answers to word writes (11 bytes or more, lengths in turn) and
    // however they come, a series of writes never sends a command while an answer is still
    // coming and never waits out the 3 s time-out for an answer that came. A probe or bulk answer
    // a byte longer is refused whole, however late that byte comes; line ends after a bulk answer
    // are taken in with it. All of it costs no more than the time the answers take (pauses
    // included) plus 5%, besides the quiet waits (a series has two), which outlast the longest
    // pause.
    void answerShapes_data()
    {
        QTest::addColumn<QList<int>>("lengths"); // of the word writes' answers in turn
        QTest::addColumn<QByteArray>("answer");  // of a probe or bulk read
        QTest::addColumn<AnswerShape>("shape");
        QTest::addColumn<bool>("accepted"); // the probe or bulk answer; the writes in step
        // The last two lengths repeat in turn. Not in step: one command goes out while the first
        // answer longer than the two before is still coming, and no other.
        const auto writes = [](const char *name, QList<int> lengths, AnswerShape shape = {},
                               bool inStep = true) {
            for (qsizetype n = lengths.size(); n < 48; ++n)
                lengths << lengths[std::max<qsizetype>(n - 2, 0)];
            QTest::newRow(name) << lengths << QByteArray() << shape << inStep;
        };
        writes("11 bytes", {11});
        writes("14: the echo", {14});
        writes("11, 12 in turn", {11, 12});
        writes("12, 11 in turn", {12, 11});
        writes("14, then 11", {14, 11, 11});
        writes("11, then 14", {11, 14, 14});
        writes("11 four times, then 14", {11, 11, 11, 11, 14, 14}, {}, false);
        writes("14 for the last", QList<int>(47, 11) << 14);
        writes("14 in one block", {14}, {0, 64, true});
        writes("14, bursts of 4 held 16 ms", {14}, {16000, 4, true});
        writes("14, a byte every 4 ms", {14}, {3000, 1, true});
        writes("14, bursts of 4 held 30 ms", {14}, {30000, 4, true});
        writes("30, bursts of 4 in step, 16 ms apart", {30}, {16000, 4, false});
        const auto fixed = [](const char *name, const QByteArray &answer, bool accepted,
                              AnswerShape shape = {}) {
            QTest::newRow(name) << QList<int>() << answer << shape << accepted;
        };
        const QByteArray probe("ns\0\1\2\3", 6);
        const QByteArray bulk = "nr20" + QByteArray("4C5F") + QByteArray(508, '1');
        fixed("probe, 6 in step", probe, true);
        fixed("probe, 7 in step", probe + '\0', false);
        fixed("probe, 7 in one block", probe + '\0', false, {0, 64, true});
        fixed("probe, 7 in bursts of 2 held 8 ms", probe + '\0', false, {8000, 2, true});
        fixed("probe, 7, a byte every 4 ms", probe + '\0', false, {3000, 1, true});
        fixed("probe, 7 in bursts of 3 in step, 5 ms apart", probe + '\0', false, {5000, 3, false});
        fixed("probe, 6, a byte every 16 ms", probe, true, {15000, 1, true});
        fixed("probe, 7 from a faster peer, the last 3 ms late", probe + '\0', false,
              {2700, 6, false, 300});
        fixed("bulk, 516 in step", bulk, true);
        fixed("bulk, NUL after it, in one block", bulk + '\0', true, {0, 1024, true});
        fixed("bulk, bursts of 12 held 16 ms, CR LF in the last", bulk + "\r\n", true,
              {16000, 12, true});
        fixed("bulk, bursts of 100 in step, 16 ms apart, CR LF", bulk + "\r\n", true,
              {16000, 100, false});
        fixed("bulk, a digit more in the middle", QByteArray(bulk).insert(256, '1'), false);
    }
    void answerShapes()
    {
        QFETCH(QList<int>, lengths);
        QFETCH(QByteArray, answer);
        QFETCH(AnswerShape, shape);
        QFETCH(bool, accepted);
        ImageState state;
        PacedLine line;
        DeviceLink link(state, line, line);
        line.shape = shape;
        line.reply = [&](const QByteArray &) {
            return answer.isEmpty() ? QByteArray(lengths.value(line.commands.size()), '0') : answer;
        };

        if (answer.isEmpty()) {
            QCOMPARE(link.writeEepromPortWords(), LinkStatus::Done);
            QCOMPARE(line.commands.size(), 48);
            QVERIFY(link.wordsAnswered(2));
            QCOMPARE(line.sendsWhileAnswering, accepted ? 0 : 1);
        } else if (answer.startsWith("ns")) {
            const WireProtocol::PresenceStatus status =
                WireProtocol::presenceStatus(link.probeDevices().value, 4);
            QCOMPARE(status.kind == WireProtocol::PresenceStatus::Checked, accepted);
        } else {
            const LinkResult<DeviceWords> words = link.readEeprom(0);
            QCOMPARE(words.answered(), accepted);
            QCOMPARE(words.value[0] == 0x4C5F, accepted);
        }
        QCOMPARE(line.stillComing(), 0);
        const qint64 pause = shape.burstBytes > 0 ? shape.gapMicros + kByteMicros : 0;
        const qint64 quiet =
            std::max<qint64>(answer.isEmpty() ? 20000 : 5000, pause * 5 / 4 + kByteMicros);
        QVERIFY(line.now <= line.busyMicros * 105 / 100 + (answer.isEmpty() ? 2 : 1) * quiet);
    }

    // A line whose answers come in bursts learns the silences inside an answer from what its
    // looks found ("c" a command sent; at T µs "Tq" nothing, "Td" data, "Tw" data at the end of a
    // wait) and makes a wait for 1000 µs (0 at "none") begun at the last moment outlast them by
    // half again, at most a second past the last byte.
    void burstSilences_data()
    {
        QTest::addColumn<QString>("looks");
        QTest::addColumn<qint64>("waitEnds");
        QTest::newRow("before the answer") << "c 0q" << qint64(1000);
        QTest::newRow("a silence seen by a look") << "c 0d 4000q 4100d" << qint64(10100);
        QTest::newRow("a silence a wait ended") << "c 0d 3000w" << qint64(7500);
        QTest::newRow("halved at the next command") << "c 0d 4000q 4100d c 5000d" << qint64(8000);
        QTest::newRow("a second at most") << "c 0d 2000000q 2000100d" << qint64(3000100);
        QTest::newRow("no wait asked") << "c 0d 4000q 4100d none" << qint64(4100);
    }
    void burstSilences()
    {
        QFETCH(QString, looks);
        VirtualLinkClock clock;
        AnswerBursts bursts(clock);
        int maxMicros = 1000;
        for (const QString &look : looks.split(' ')) {
            if (look == "c" || look == "none") {
                look == "c" ? bursts.commandSent() : void(maxMicros = 0);
                continue;
            }
            clock.micros = look.chopped(1).toLongLong();
            bursts.looked(!look.endsWith('q'), look.endsWith('q'), look.endsWith('w'));
        }
        QTEST(bursts.waitEnd(maxMicros), "waitEnds");
    }
};

SWCFG_TEST_CLASS(AnswerLengthTest)
#include "answer_length_test.moc"
