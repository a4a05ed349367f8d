#include "image/bin_file.h"
#include "image/device_models.h"
#include "launcher/sim_process.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

class ChangedOnlyTest : public QObject
{
    Q_OBJECT

private slots:
    // swcfgctl write --changed-only against a simulated 32-port switch whose image differs from the
    // file in the words `changed` (device * 128 + word): every device is read, only those words are
    // written, every device is read back, and the switch is reset only when all of it verified.
    void writeChangedOnly_data()
    {
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("messages");
        QTest::newRow("a word of device 0 and one of the module")
            << QList<int>{13, 3 * 128 + 100} << QString() << 0 << QString();
        QTest::newRow("the switch holds the file") << QList<int>() << QString() << 0 << QString();
        QTest::newRow("a written word keeps another value")
            << QList<int>{128 + 40, 2 * 128 + 7} << "--corrupt-word 1:40" << 4
            << "Device 1 EEPROM Writing Error !\nEEPROM writing error ! Please write once again ! "
               "\n";
    }
    void writeChangedOnly()
    {
        QFETCH(QList<int>, changed);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, messages);
        SimProcess sim;
        const QDir dir(sim.folder());
        const auto save = [&dir](const char *name, const ImageWords &image) {
            QFile file(dir.filePath(name));
            return file.open(QIODevice::WriteOnly) &&
                   file.write(BinFile::encode(image, Model32NWay)) > 0;
        };
        ImageWords image = TestImages::validImage(Model32NWay);
        QVERIFY(save("switch.bin", image));
        QStringList writes;
        for (const int at : changed) {
            quint16 &word = image[at / 128][at % 128] ^= 0x0101;
            writes << QString("write %1 0 %2 %3")
                          .arg(at / 128)
                          .arg(at % 128 * 2, 3, 10, QChar('0'))
                          .arg(word);
        }
        QVERIFY(save("file.bin", image));
        QVERIFY2(sim.start(QString("--model 2 --image %1 %2")
                               .arg(dir.filePath("switch.bin"), fault)
                               .split(' ', Qt::SkipEmptyParts)),
                 qPrintable(sim.errorString()));

        QProcess ctl;
        ctl.start(SWCFGCTL_PATH, {"write", "--model", "32", "--changed-only", "--port",
                                  sim.ptyPath(), dir.filePath("file.bin")});
        QVERIFY(ctl.waitForFinished(120000));
        QCOMPARE(QString(ctl.readAllStandardError()), messages);
        QCOMPARE(ctl.exitCode(), exitCode);
        QVERIFY(exitCode != 0 ||
                SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        QStringList log = sim.logLines();
        QCOMPARE(log.count("reset"), exitCode == 0 ? 1 : 0);
        QCOMPARE(log.filter(QRegularExpression("^read . 0 000 256$")).size(), 8);
        QCOMPARE(log.filter(QRegularExpression("^write "))
                     .replaceInStrings(QRegularExpression(" stored .*"), QString()),
                 writes);
    }
};

SWCFG_TEST_CLASS(ChangedOnlyTest)
#include "changed_only_test.moc"
