#include "line_pacer.h"
#include "support/test_main.h"

#include <QTest>

using namespace std::chrono;
using Clock = LinePacer::Clock;

class LinePacerTest : public QObject
{
    Q_OBJECT

private slots:
    void burstKeepsToTheByteGrid()
    {
        LinePacer line(9600);
        const Clock::time_point start{seconds(100)};
        Clock::time_point last;
        for (int i = 0; i < 516; ++i) {
            // Whoever hands over the bytes is late by a varying amount, yet inside the burst.
            last = line.crossed(start + microseconds(i * 900));
            if (i == 0)
                QCOMPARE(last, start + nanoseconds(1'041'666));
        }
        // 516 bytes of 10 bits at 9600 baud: 0.5375 s, to the nanosecond.
        QCOMPARE(last, start + nanoseconds(537'500'000));

        // Idle past the end: a new burst. Ready exactly when the line frees up: the burst goes on.
        const Clock::time_point later = last + milliseconds(50);
        QCOMPARE(line.crossed(later), later + nanoseconds(1'041'666));
        QCOMPARE(line.crossed(later + nanoseconds(1'041'666)), later + nanoseconds(2'083'333));
    }
};

SWCFG_TEST_CLASS(LinePacerTest)
#include "line_pacer_test.moc"
