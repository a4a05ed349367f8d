#include "factory_image.h"
#include "image/bin_file.h"
#include "pty_client.h"
#include "support/sim_process.h"
#include "support/test_main.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace
{

QByteArray hexOf(const DeviceWords &words)
{
    QByteArray hex;
    for (quint16 word : words)
        hex += QByteArray::number(word, 16).rightJustified(4, '0').toUpper();
    return hex;
}

QByteArray probeAnswer(int d0, int d1, int d2, int d3)
{
    return QByteArray("ns") + char(d0) + char(d1) + char(d2) + char(d3);
}

} // namespace

class SimPtyTest : public QObject
{
    Q_OBJECT

private slots:
    void answersOverThePty_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QByteArrayList>("answers"); // empty: none
        QTest::addColumn<QStringList>("log");

        const QByteArray device1 = "nr10" + hexOf(factoryImage(1)[1]);
        QByteArray nonHex = device1;
        nonHex[4 + 256] = 'G';

        QTest::newRow("24-port probe")
            << QStringList{"--model", "0"} << QByteArrayList{"ns"}
            << QByteArrayList{probeAnswer(0, 1, 2, 0xFF)} << QStringList{"probe"};
        QTest::newRow("1000Base-SX probe")
            << QStringList{"--model", "1"} << QByteArrayList{"ns"}
            << QByteArrayList{probeAnswer(0, 1, 2, 3)} << QStringList{"probe"};
        QTest::newRow("32-port probe, device 1 missing")
            << QStringList{"--model", "2", "--missing", "1"}
            << QByteArrayList{"ns", "nr10000001\r", "nr00000001\r"}
            << QByteArrayList{probeAnswer(0, 0xFF, 2, 3), "", "nr0018"}
            << QStringList{"probe", "read 1 0 000 1 missing", "read 0 0 000 1"};
        QTest::newRow("module codes")
            << QStringList{"--model", "2", "--module-codes", "1,1,3"}
            << QByteArrayList{"nr31115001\r", "nr31115001\r", "nr31115001\r", "nr31115001\r"}
            << QByteArrayList{"nr3101", "nr3101", "nr3103", "nr3103"}
            << QStringList(4, "read 3 1 115 1");
        QTest::newRow("silent probe once")
            << QStringList{"--probe-fault", "silent:1"} << QByteArrayList{"ns", "ns"}
            << QByteArrayList{"", probeAnswer(0, 1, 2, 3)} << QStringList{"probe silent", "probe"};
        QTest::newRow("short probe")
            << QStringList{"--probe-fault", "short"} << QByteArrayList{"ns", "ns"}
            << QByteArrayList{QByteArray("ns\0\1\2", 5), QByteArray("ns\0\1\2", 5)}
            << QStringList{"probe short", "probe short"};
        QTest::newRow("long probe")
            << QStringList{"--probe-fault", "long:1"} << QByteArrayList{"ns", "ns"}
            << QByteArrayList{probeAnswer(0, 1, 2, 3) + '\0', probeAnswer(0, 1, 2, 3)}
            << QStringList{"probe long", "probe"};
        QTest::newRow("garbled probe")
            << QStringList{"--probe-fault", "garbled:1"} << QByteArrayList{"ns", "ns"}
            << QByteArrayList{QByteArray("sn\0\1\2\3", 6), probeAnswer(0, 1, 2, 3)}
            << QStringList{"probe garbled", "probe"};
        QTest::newRow("short EEPROM read")
            << QStringList{"--read-fault", "1:short:1"}
            << QByteArrayList{"nr10000256\r", "nr10000256\r"}
            << QByteArrayList{device1.left(515), device1}
            << QStringList{"read 1 0 000 256 short", "read 1 0 000 256"};
        QTest::newRow("non-hex EEPROM read")
            << QStringList{"--read-fault", "1:nonhex:1"}
            << QByteArrayList{"nr10000256\r", "nr10000256\r"} << QByteArrayList{nonHex, device1}
            << QStringList{"read 1 0 000 256 nonhex", "read 1 0 000 256"};
        QTest::newRow("line drops after a write, comes back")
            << QStringList{"--drop-after-writes", "1", "--drop-commands", "2"}
            << QByteArrayList{"no00000000001\r", "no00002000002\r", "ns", "no00004000003\r",
                              "nr00000006\r"}
            << QByteArrayList{"no00000000001\r", "", "", "no00004000003\r", "nr00000100000003"}
            << QStringList{"write 0 0 000 1", "write 0 0 002 2 dropped", "probe dropped",
                           "write 0 0 004 3", "read 0 0 000 6"};
        QTest::newRow("corrupt word")
            << QStringList{"--corrupt-word", "0:20"}
            << QByteArrayList{"no00040076095\r", "nr00040002\r"}
            << QByteArrayList{"no00040076095\r", "nr004C5E"}
            << QStringList{"write 0 0 040 19551 stored 19550", "read 0 0 040 2"};
    }
    void answersOverThePty()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArrayList, answers);
        QFETCH(QStringList, log);

        SimProcess sim;
        QVERIFY2(sim.start(arguments), qPrintable(sim.errorString()));
        PtyClient line(sim.ptyPath());
        QVERIFY(line.isOpen());
        for (const QByteArray &command : commands)
            QVERIFY(line.send(command));
        // Commands are answered in order, so an answer where none belongs shifts the stream.
        const QByteArray expected = answers.join();
        QCOMPARE(line.receive(expected.size()), expected);
        QVERIFY(sim.waitForLogLines(log.size()));
        QCOMPARE(sim.logLines(), log);
    }

    void writtenWordIsSavedAndReadsBack()
    {
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "2"}), qPrintable(sim.errorString()));
        QCOMPARE(sim.stateImage(), std::optional<ImageWords>(factoryImage(2)));

        PtyClient line(sim.linkPath());
        QVERIFY(line.isOpen());
        QVERIFY(line.send("no20028076095\r"));
        QCOMPARE(line.receive(14), QByteArray("no20028076095\r"));
        // Saved before the answer left.
        const std::optional<ImageWords> state = sim.stateImage();
        QVERIFY(state);
        QCOMPARE((*state)[2][14], 19551);
        ImageWords expected = factoryImage(2);
        expected[2][14] = 19551;
        QCOMPARE(*state, expected);

        QVERIFY(line.send("nr20000256\r"));
        const QByteArray answer = line.receive(516);
        QCOMPARE(answer.size(), 516);
        QCOMPARE(answer.left(4), QByteArray("nr20"));
        QCOMPARE(answer.mid(4 + 4 * 14, 4), QByteArray("4C5F"));
        QCOMPARE(answer.mid(4), hexOf(expected[2]));
    }

    void lineSurvivesThePortBeingClosed()
    {
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "0"}), qPrintable(sim.errorString()));
        for (int open = 0; open < 3; ++open) {
            PtyClient line(sim.ptyPath());
            QVERIFY(line.isOpen());
            QVERIFY(line.send("ns"));
            QCOMPARE(line.receive(6), probeAnswer(0, 1, 2, 0xFF));
        }
        QVERIFY(sim.isRunning());
    }

    void startsFromAnImageFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("factory.bin");
        QCOMPARE(
            QProcess::execute(SimProcess::binaryPath(), {"--model", "0", "--write-factory", path}),
            0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, BinFile::encode(factoryImage(0), 0));
        file.close();

        // Bit 15 of word 0 is a bit like any other to the EEPROM: it is kept.
        QByteArray edited = bytes;
        edited[0] = char(0x98);
        edited[256 + 2 * 100 + 1] = char(0x42);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(edited);
        file.close();

        SimProcess sim;
        QVERIFY2(sim.start({"--model", "0", "--image", path}), qPrintable(sim.errorString()));
        PtyClient line(sim.ptyPath());
        QVERIFY(line.send("nr00000002\r"));
        QCOMPARE(line.receive(8), QByteArray("nr009810"));
        QVERIFY(line.send("nr10200002\r"));
        QCOMPARE(line.receive(8), QByteArray("nr100042"));
        const std::optional<ImageWords> state = sim.stateImage();
        QVERIFY(state);
        QCOMPARE((*state)[0][0], 0x9810);
    }

    void refusesWhatItCannotStartWith_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        const QString shortImage = scratch_.filePath("short.bin");
        QFile file(shortImage);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(BinFile::encode(factoryImage(0), 0)); // 768 bytes; the other models need 1024
        file.close();

        QTest::newRow("bad model") << QStringList{"--model", "7"} << 2;
        QTest::newRow("unreadable image") << QStringList{"--image", "/nonexistent/x.bin"} << 1;
        QTest::newRow("image too short for the model")
            << QStringList{"--model", "1", "--image", shortImage} << 1;
    }
    void refusesWhatItCannotStartWith()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QProcess process;
        process.start(SimProcess::binaryPath(), arguments);
        const bool finished = process.waitForFinished(10000);
        if (!finished) {
            process.kill();
            process.waitForFinished();
        }
        QVERIFY(finished);
        QCOMPARE(process.exitCode(), exitCode);
        // Nobody waiting for a terminal's name is handed one.
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }

    void pacedBulkReadTakesTheLineTime()
    {
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "0", "--pace"}), qPrintable(sim.errorString()));
        PtyClient line(sim.ptyPath());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(line.send("nr00000256\r"));
        QCOMPARE(line.receive(516).size(), 516);
        // 11 bytes in and 516 out at 10 bits a byte and 9600 baud come to 0.55 s.
        QVERIFY2(clock.elapsed() >= 500, qPrintable(QString::number(clock.elapsed())));
    }

    void stopsCleanlyAndTakesItsLinkAway()
    {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.errorString()));
        QCOMPARE(QFileInfo(sim.linkPath()).symLinkTarget(), sim.ptyPath());
        sim.stop();
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(sim.linkPath()).isSymLink());
    }

private:
    QTemporaryDir scratch_;
};

SWCFG_TEST_CLASS(SimPtyTest)
#include "sim_pty_test.moc"
