#include "counting_serial_line.h"
#include "transfer_figures.h"

#include "support/scripted_serial_line.h"
#include "support/test_main.h"

#include <QTest>

class TransferMeasuresTest : public QObject
{
    Q_OBJECT

private slots:
    // Every byte that crossed the line counts, whether the link read it, dropped it before the
    // next command or left it behind when it closed the port; a failed send crossed nothing.
    void countsBytesBothWays_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<qint64>("sent");
        QTest::addColumn<qint64>("received");
        QTest::newRow("read") << "send read" << qint64(11) << qint64(6);
        QTest::newRow("dropped unread") << "send discard" << qint64(11) << qint64(6);
        QTest::newRow("left at close") << "send close" << qint64(11) << qint64(6);
        QTest::newRow("stray input too") << "stray send read" << qint64(11) << qint64(11);
        QTest::newRow("send on a closed port") << "close send" << qint64(0) << qint64(0);
    }
    void countsBytesBothWays()
    {
        QFETCH(QString, steps);
        QFETCH(qint64, sent);
        QFETCH(qint64, received);
        ScriptedSerialLine scripted;
        scripted.answersOnSend = true;
        scripted.answer = [](const QByteArray &) { return QByteArray("nr3106"); };
        CountingSerialLine line(scripted);
        QVERIFY(line.open());

        for (const QString &step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("send"))
                line.send("nr31115001\r");
            else if (step == QLatin1String("read"))
                line.readAll();
            else if (step == QLatin1String("discard"))
                line.discardInput();
            else if (step == QLatin1String("close"))
                line.close();
            else if (step == QLatin1String("stray"))
                scripted.inject("stray");
        }
        line.close(); // closing twice counts nothing twice

        QCOMPARE(line.bytesSent(), sent);
        QCOMPARE(line.bytesReceived(), received);
        line.resetCounts();
        QCOMPARE(line.bytesSent() + line.bytesReceived(), qint64(0));
    }

    // The line's limit: 10 bits a byte at 9600 baud, both directions one after the other.
    void wireTimeAndShares_data()
    {
        QTest::addColumn<qint64>("sent");
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("wallMicros");
        QTest::addColumn<qint64>("cpuMicros");
        QTest::addColumn<qint64>("wireMicros");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("cpuPercent");
        // One word write answered by its 14-byte echo.
        QTest::newRow("word write") << qint64(14) << qint64(14) << qint64(29166) << qint64(583)
                                    << qint64(29166) << 1.0 << 2.0;
        // A bulk read: 11 bytes out, 516 back.
        QTest::newRow("bulk read") << qint64(11) << qint64(516) << qint64(1097916) << qint64(0)
                                   << qint64(548958) << 2.0 << 0.0;
        QTest::newRow("nothing crossed")
            << qint64(0) << qint64(0) << qint64(0) << qint64(0) << qint64(0) << 0.0 << 0.0;
    }
    void wireTimeAndShares()
    {
        QFETCH(qint64, sent);
        QFETCH(qint64, received);
        QFETCH(qint64, wallMicros);
        QFETCH(qint64, cpuMicros);
        QFETCH(qint64, wireMicros);
        QFETCH(double, ratio);
        QFETCH(double, cpuPercent);
        TransferFigures figures;
        figures.bytesSent = sent;
        figures.bytesReceived = received;
        figures.wallMicros = wallMicros;
        figures.cpuMicros = cpuMicros;

        QCOMPARE(figures.wireMicros(), wireMicros);
        QVERIFY(qAbs(figures.wallToWire() - ratio) < 0.001);
        QVERIFY(qAbs(figures.cpuPercent() - cpuPercent) < 0.01);
    }

    // Microseconds of CPU: 20 ms of it cannot take less than 20 ms of wall time, and a busy loop
    // gets there well within seconds even on a loaded machine.
    void processCpuTimeIsInMicroseconds()
    {
        const qint64 before = processCpuMicros();
        QElapsedTimer wall;
        wall.start();
        volatile quint64 spin = 0;
        while (processCpuMicros() - before < 20000 && !wall.hasExpired(10000))
            spin = spin + 1;
        QVERIFY(processCpuMicros() - before >= 20000);
        QVERIFY(wall.elapsed() >= 19);
    }
};

SWCFG_TEST_CLASS(TransferMeasuresTest)
#include "transfer_measures_test.moc"
