#include "switch_rig.h"

#include "support/image_builders.h"
#include "support/test_main.h"

#include <QPushButton>
#include <QTest>

namespace
{

const QString kWriteOnceAgain = QStringLiteral("EEPROM writing error ! Please write once again ! ");

QString writingError(int device)
{
    return QStringLiteral("Device %1 EEPROM Writing Error !").arg(device);
}

// Devices of the model as the switch holds them, against the image the window wrote.
bool switchHolds(const SwitchRig &rig, const ImageWords &image, const QList<int> &devices)
{
    const auto held = rig.sim.stateImage();
    if (!held)
        return false;
    for (int d : devices) {
        if ((*held)[d] != image[d])
            return false;
    }
    return true;
}

} // namespace

class WriteTest : public QObject
{
    Q_OBJECT

private slots:
    void writesVerifiesAndResets_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("24-port") << 0;
        QTest::newRow("1000Base-SX") << 1;
        QTest::newRow("32-port") << 2;
    }
    void writesVerifiesAndResets()
    {
        QFETCH(int, model);
        SwitchRig rig;
        QVERIFY(rig.start(model));
        rig.open(TestImages::validImage(model));
        const ImageWords image = rig.h.module.EepromImage;

        rig.h.window.Command7->click();

        QVERIFY2(rig.h.prompter.prompts.isEmpty(), qPrintable(rig.h.prompter.texts().join('|')));
        QVERIFY(rig.idleAfter(rig.h.window.Command7));
        QVERIFY(rig.h.module.EepromImage == image);
        QVERIFY(switchHolds(rig, image, model == 0 ? QList<int>{0, 1, 2} : QList<int>{0, 1, 2, 3}));
        QCOMPARE(rig.logCount("write"), model == 0 ? 384 : 512);
        QVERIFY(rig.settle());
        QCOMPARE(rig.logCount("reset"), 1);
        const QStringList log = rig.sim.logLines();
        QCOMPARE(log.at(log.size() - 2), QStringLiteral("reset")); // the last thing the tool sent
    }

    // A configuration read from one switch goes onto another as it was.
    void readThenWriteCarriesTheConfiguration()
    {
        // A tagged image, so that every word is told apart.
        SwitchRig writer;
        QVERIFY(writer.start(2));
        writer.open(TestImages::validImage(2));
        writer.h.window.Command7->click();
        QVERIFY(writer.h.prompter.prompts.isEmpty());

        SwitchRig reader;
        QVERIFY(reader.start(2, {"--image", writer.sim.statePath()}));
        reader.h.window.Command8->click();
        QVERIFY(reader.h.prompter.prompts.isEmpty());
        QVERIFY(reader.h.module.EepromImage == writer.h.module.EepromImage);
    }

    void verificationFailures_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("goodDevices");
        for (int d = 0; d < 4; ++d) {
            QTest::addRow("device %d keeps another word", d)
                << 2 << QStringList{"--corrupt-word", QStringLiteral("%1:77").arg(d)}
                << QStringList{writingError(d), kWriteOnceAgain}
                << QList<int>{0, 1, 2, 3}.mid(0, d) + QList<int>{0, 1, 2, 3}.mid(d + 1);
        }
        QTest::newRow("devices 1 and 3 differ")
            << 1 << QStringList{"--corrupt-word", "1:5", "--corrupt-word", "3:120"}
            << QStringList{writingError(1), writingError(3), kWriteOnceAgain} << QList<int>{0, 2};
        QTest::newRow("read-back of device 2 fails twice")
            << 0 << QStringList{"--read-fault", "2:nonhex:2"}
            << QStringList{writingError(2), kWriteOnceAgain} << QList<int>{0, 1, 2};
        // The line dies for one command in device 0's pass: that device stops there, the rest is
        // still written.
        QTest::newRow("no answer in the middle of device 0")
            << 0 << QStringList{"--drop-after-writes", "40", "--drop-commands", "1"}
            << QStringList{writingError(0), kWriteOnceAgain} << QList<int>{1, 2};
    }
    void verificationFailures()
    {
        QFETCH(int, model);
        QFETCH(QStringList, faults);
        QFETCH(QStringList, messages);
        QFETCH(QList<int>, goodDevices);
        SwitchRig rig;
        QVERIFY(rig.start(model, faults));
        rig.open(TestImages::validImage(model));
        const ImageWords image = rig.h.module.EepromImage;

        rig.h.window.Command7->click();

        QCOMPARE(rig.h.prompter.texts(), messages);
        for (const Prompt &prompt : rig.h.prompter.prompts.mid(0, messages.size() - 1))
            QCOMPARE(prompt.icon, MessageIcon::Critical);
        QCOMPARE(rig.h.prompter.prompts.constLast().icon, MessageIcon::Exclamation);
        QVERIFY(rig.idleAfter(rig.h.window.Command7));
        QVERIFY(rig.h.module.EepromImage == image);
        QVERIFY(switchHolds(rig, image, goodDevices));
        QVERIFY(rig.settle());
        QCOMPARE(rig.logCount("reset"), 0);
    }

    // Write checks the switch as Read does, and writes nothing when a check fails.
    void refusalsWriteNothing_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("critical");
        QTest::newRow("no such port") << 1 << QStringList{} << "COM Port Open Error !" << true;
        QTest::newRow("device missing")
            << 0 << QStringList{"--missing", "1"} << "Device 1 Not Found !" << true;
        QTest::newRow("gigabit module on a 32-port switch")
            << 2 << QStringList{"--module-codes", "6"} << "8-Port Module Not Found !" << true;
        QTest::newRow("short probe answer")
            << 1 << QStringList{"--probe-fault", "short"}
            << "Some devices not ready !  Please try again ! " << false;
    }
    void refusalsWriteNothing()
    {
        QFETCH(int, model);
        QFETCH(QStringList, faults);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        SwitchRig rig;
        QVERIFY(rig.start(model, faults));
        rig.open(TestImages::validImage(model));
        if (QByteArray(QTest::currentDataTag()) == "no such port")
            qputenv("SWCFG_COM1", QByteArray("/nonexistent/ttyS99"));

        rig.h.window.Command7->click();

        QCOMPARE(rig.h.prompter.texts(), QStringList{message});
        QCOMPARE(rig.h.prompter.prompts.constFirst().icon,
                 critical ? MessageIcon::Critical : MessageIcon::Exclamation);
        QVERIFY(rig.idleAfter(rig.h.window.Command7));
        QVERIFY(rig.settle());
        QCOMPARE(rig.logCount("write"), 0);
        QCOMPARE(rig.logCount("reset"), 0);
    }
};

SWCFG_TEST_CLASS(WriteTest)
#include "write_test.moc"
