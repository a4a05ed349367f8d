#include "cli_commands.h"
#include "image/bin_file.h"
#include "image/device_models.h"
#include "launcher/sim_process.h"
#include "link/fake_switch.h"
#include "link/link_clock.h"
#include "link/paced_serial_line.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace
{

struct Recorder : SessionMessageSink {
    QStringList lines;
    void report(const QString &text, MessageSeverity) override { lines << text + '\n'; }
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// swcfgctl in this process, on `clock` and the lines `makeLine` makes.
int ctl(const QString &arguments, const DeviceLineFactory &makeLine, LinkClock &clock,
        Recorder &messages)
{
    const ParsedCommandLine parsed =
        parseCommandLine(QStringList{"swcfgctl"} + arguments.split(' ', Qt::SkipEmptyParts));
    if (!parsed.options)
        return int(ExitStatus::Usage);
    const CommandServices services{makeLine, clock, messages, {}, [](const QByteArray &) {}};
    return int(runCommand(*parsed.options, services));
}

} // namespace

class ChangedOnlyTest : public QObject
{
    Q_OBJECT

private slots:
    // The simulated 32-port switch starts from one image; the file differs from it in `changed`
    // (device, word) pairs. Only those words are written, the whole image is verified, and the
    // switch is reset only when all of it holds the file.
    void writeChangedOnly_data()
    {
        QTest::addColumn<QList<QPoint>>("changed"); // x: device, y: word
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("messages");
        QTest::newRow("a word of device 0 and one of the module")
            << QList<QPoint>{{0, 13}, {3, 100}} << QStringList() << 0 << QString();
        QTest::newRow("the switch holds the file already")
            << QList<QPoint>() << QStringList() << 0 << QString();
        QTest::newRow("a written word keeps another value")
            << QList<QPoint>{{1, 40}, {2, 7}} << QStringList{"--corrupt-word", "1:40"} << 4
            << "Device 1 EEPROM Writing Error !\n"
               "EEPROM writing error ! Please write once again ! \n";
    }
    void writeChangedOnly()
    {
        QFETCH(QList<QPoint>, changed);
        QFETCH(QStringList, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, messages);
        SimProcess sim;
        const QDir dir(sim.folder());
        const ImageWords onSwitch = TestImages::validImage(Model32NWay);
        QVERIFY(writeFile(dir.filePath("switch.bin"), BinFile::encode(onSwitch, Model32NWay)));
        ImageWords image = onSwitch;
        QStringList writes;
        for (const QPoint &at : changed) {
            quint16 &word = image[at.x()][at.y()];
            word ^= 0x0101;
            writes << QString("write %1 0 %2 %3")
                          .arg(at.x())
                          .arg(2 * at.y(), 3, 10, QChar('0'))
                          .arg(word);
        }
        QVERIFY(writeFile(dir.filePath("file.bin"), BinFile::encode(image, Model32NWay)));
        QVERIFY2(
            sim.start(QStringList{"--model", "2", "--image", dir.filePath("switch.bin")} + fault),
            qPrintable(sim.errorString()));

        EventLoopClock clock;
        Recorder recorder;
        QCOMPARE(ctl("write --model 32 --changed-only --port " + sim.ptyPath() + ' ' +
                         dir.filePath("file.bin"),
                     serialDeviceLineFactory(), clock, recorder),
                 exitCode);
        QCOMPARE(recorder.lines.join(QString()), messages);

        const bool reset = exitCode == 0;
        if (reset)
            QVERIFY(SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        QStringList log = sim.logLines();
        QCOMPARE(log.count("reset"), reset ? 1 : 0);
        // Every device was read before anything was written, and read back after.
        QCOMPARE(log.filter(QRegularExpression("^read [0-3] 0 000 256$")).size(), 8);
        QCOMPARE(log.filter(QRegularExpression("^write "))
                     .replaceInStrings(QRegularExpression(" stored .*"), QString()),
                 writes);
        if (reset)
            QCOMPARE(*sim.stateImage(), image);
    }

    // A bulk answer with one digit too many is refused on both tries; Read saves nothing.
    void readSavesNothingFromALongAnswer()
    {
        QTemporaryDir dir;
        FakeSwitch device;
        device.eeprom = TestImages::validImage(Model24Sx);
        const DeviceLineFactory makeLine = [&device](const QString &) {
            auto line = std::make_unique<PacedSerialLine>();
            line->answer = [&device](const QByteArray &command) {
                QByteArray answer = device.answer(command);
                if (command == "nr10000256\r")
                    answer.insert(260, '1');
                return answer;
            };
            return std::unique_ptr<SerialLine>(std::move(line));
        };
        VirtualLinkClock clock;
        Recorder recorder;

        QCOMPARE(ctl("read --model 24sx --port /dev/null -o " + dir.filePath("out.bin"), makeLine,
                     clock, recorder),
                 int(ExitStatus::TransferFailed));
        QCOMPARE(recorder.lines, QStringList{"EEPROM 1 Reading Fail !\n"});
        QVERIFY(!QFile::exists(dir.filePath("out.bin")));
    }
};

SWCFG_TEST_CLASS(ChangedOnlyTest)
#include "changed_only_test.moc"
