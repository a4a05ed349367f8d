#include "switch_rig.h"

#include "support/image_builders.h"
#include "support/test_main.h"

#include <QPushButton>
#include <QTest>

namespace
{

// What the window says for each combination of devices missing from the probe.
const char *const kNotFound[16] = {
    "",
    "Device 0 Not Found !",
    "Device 1 Not Found !",
    "Device 0,1 Not Found !",
    "Device 2 Not Found !",
    "Device 0,2 Not Found !",
    "Device 1,2 Not Found !",
    "Device 0,1,2 Not Found !",
    "Module Device Not Found !",
    "Device 0,3 Not Found !",
    "Device 1,3 Not Found !",
    "Device 0,1,3 Not Found !",
    "Device 2,3 Not Found !",
    "Device 0,2,3 Not Found !",
    "Device 1,2,3 Not Found !",
    "Device 0,1,2,3 Not Found !",
};

QString missingList(int status)
{
    QStringList devices;
    for (int d = 0; d < 4; ++d) {
        if (status & (1 << d))
            devices << QString::number(d);
    }
    return devices.join(QLatin1Char(','));
}

const QString kFailedToAccess = QStringLiteral(
    "Failed to access the device ! Please check whether the device is well connected.");
const QString kNotReady = QStringLiteral("Some devices not ready !  Please try again ! ");

} // namespace

class ReadTest : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryDeviceOfTheModel_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("comPort");
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("24-port") << 0 << 1 << QStringList{};
        QTest::newRow("1000Base-SX on COM3") << 1 << 3 << QStringList{};
        QTest::newRow("32-port on COM8") << 2 << 8 << QStringList{};
        QTest::newRow("24-port ignores the module byte") << 0 << 1 << QStringList{"--missing", "3"};
        QTest::newRow("module not ready at first")
            << 2 << 1 << QStringList{"--module-codes", "1,1,1,3"};
        QTest::newRow("one garbled EEPROM answer is read again")
            << 1 << 1 << QStringList{"--read-fault", "3:nonhex:1"};
        QTest::newRow("one silent probe is sent again")
            << 0 << 1 << QStringList{"--probe-fault", "silent:1"};
    }
    void readsEveryDeviceOfTheModel()
    {
        QFETCH(int, model);
        QFETCH(int, comPort);
        QFETCH(QStringList, faults);
        SwitchRig rig;
        QVERIFY2(rig.start(model, faults, comPort), qPrintable(rig.sim.errorString()));
        rig.h.module.EepromImage[3].fill(0x3333);

        rig.h.window.Command8->click();

        QVERIFY2(rig.h.prompter.prompts.isEmpty(), qPrintable(rig.h.prompter.texts().join('|')));
        QVERIFY(rig.idleAfter(rig.h.window.Command8));
        const auto switchImage = rig.sim.stateImage();
        QVERIFY(switchImage);
        const int devices = model == 0 ? 3 : 4;
        for (int d = 0; d < devices; ++d)
            QCOMPARE(rig.h.module.EepromImage[d], (*switchImage)[d]);
        if (model == 0)
            QCOMPARE(rig.h.module.EepromImage[3][0], 0x3333);
        QVERIFY(rig.h.module.ImageLoaded);
        QCOMPARE(rig.h.module.PortWords[2][5], (*switchImage)[2][18]);
        QVERIFY(rig.h.window.Command5->isEnabled());
        QVERIFY(rig.h.window.Command7->isEnabled());
        QCOMPARE(rig.logCount("reset"), 0);
        QCOMPARE(rig.logCount("write"), 0);
    }

    // Every refusal and failure of Read: its message, and the window usable with nothing changed.
    void failuresChangeNothing_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("critical");

        QTest::newRow("no answer twice")
            << 1 << QStringList{"--probe-fault", "silent"} << kFailedToAccess << false;
        QTest::newRow("answer not starting with ns")
            << 1 << QStringList{"--probe-fault", "garbled"} << kFailedToAccess << false;
        QTest::newRow("short probe answer")
            << 2 << QStringList{"--probe-fault", "short"} << kNotReady << false;
        QTest::newRow("long probe answer")
            << 0 << QStringList{"--probe-fault", "long"} << kNotReady << false;
        for (int status = 1; status < 16; ++status) {
            const int model = status % 2 == 0 ? 1 : 2;
            QTest::addRow("missing %s", qPrintable(missingList(status)))
                << model << QStringList{"--missing", missingList(status)}
                << QString::fromLatin1(kNotFound[status]) << true;
        }
        const QString moduleDetected =
            QStringLiteral("Module is detected ! This device is not pure 24-Port N-Way Switch !");
        QTest::newRow("module on a 24-port switch")
            << 0 << QStringList{"--module-codes", "6"} << moduleDetected << true;
        QTest::newRow("module found on the second reading")
            << 0 << QStringList{"--module-codes", "0,3"} << moduleDetected << true;
        QTest::newRow("8-port module on a 1000Base-SX switch")
            << 1 << QStringList{"--module-codes", "3"}
            << QStringLiteral("Gigabit Fiber Module Not Found !") << true;
        QTest::newRow("module never ready on a 32-port switch")
            << 2 << QStringList{"--module-codes", "1"}
            << QStringLiteral("8-Port Module Not Found !") << true;
        for (int d = 0; d < 4; ++d) {
            QTest::addRow("EEPROM %d fails twice", d)
                << (d == 3 ? 2 : d % 2)
                << QStringList{"--read-fault", QStringLiteral("%1:nonhex:2").arg(d)}
                << QStringLiteral("EEPROM %1 Reading Fail !").arg(d) << true;
        }
        QTest::newRow("no such port")
            << 1 << QStringList{} << QStringLiteral("COM Port Open Error !") << true;
    }
    void failuresChangeNothing()
    {
        QFETCH(int, model);
        QFETCH(QStringList, faults);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        SwitchRig rig;
        QVERIFY2(rig.start(model, faults), qPrintable(rig.sim.errorString()));
        rig.open(TestImages::validImage(model));
        QVERIFY(rig.h.module.ImageLoaded);
        rig.h.module.PortWords[0][0] = 0x00F0; // an edit not yet committed
        const Module1 before = rig.h.module;
        if (QByteArray(QTest::currentDataTag()) == "no such port")
            qputenv("SWCFG_COM1", QByteArray("/nonexistent/ttyS99"));
        bool windowDisabledDuringMessage = false;
        rig.h.prompter.onPrompt = [&](const Prompt &) {
            windowDisabledDuringMessage = !rig.h.window.isEnabled();
        };

        rig.h.window.Command8->click();

        QCOMPARE(rig.h.prompter.texts(), QStringList{message});
        const Prompt &shown = rig.h.prompter.prompts.constFirst();
        QCOMPARE(shown.icon, critical ? MessageIcon::Critical : MessageIcon::Exclamation);
        QCOMPARE(shown.title, QStringLiteral("Device Configuration"));
        QVERIFY(windowDisabledDuringMessage);
        QVERIFY(rig.idleAfter(rig.h.window.Command8));
        QVERIFY(rig.h.module.EepromImage == before.EepromImage);
        QVERIFY(rig.h.module.PortWords == before.PortWords);
        QVERIFY(rig.h.window.Command5->isEnabled());
        QVERIFY(rig.h.window.Command7->isEnabled());
    }

    void failedReadKeepsAFreshWindowFresh()
    {
        SwitchRig rig;
        QVERIFY(rig.start(2, {"--read-fault", "2:nonhex:2"}));
        rig.h.window.Command8->click();
        QCOMPARE(rig.h.prompter.texts(), QStringList{"EEPROM 2 Reading Fail !"});
        QVERIFY(!rig.h.module.ImageLoaded);
        QCOMPARE(rig.h.module.EepromImage[0][0], 0); // devices 0 and 1 were not taken in
        QVERIFY(!rig.h.window.Command5->isEnabled());
        QVERIFY(!rig.h.window.Command7->isEnabled());
    }
};

SWCFG_TEST_CLASS(ReadTest)
#include "read_test.moc"
