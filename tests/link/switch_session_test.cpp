#include "fake_switch.h"
#include "image/device_models.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

using Setup = std::function<void(LinkRig &)>;

QString critical(const QString &text)
{
    return "critical: " + text;
}
QString exclamation(const QString &text)
{
    return "exclamation: " + text;
}

QByteArray probe(int b2, int b3, int b4, int b5)
{
    return QByteArray("ns") + char(b2) + char(b3) + char(b4) + char(b5);
}

int fittedModule(int model)
{
    return model == 2 ? 3 : model == 1 ? 6 : 0;
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class SwitchSessionTest : public QObject
{
    Q_OBJECT

private slots:
    // Every message Read and Write show, the condition behind it and how the command ends.
    void everyMessage_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("model");
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<SessionOutcome>("outcome");
        const auto row = [](const char *name, bool write, int model, Setup setup,
                            QStringList messages, SessionOutcome outcome) {
            QTest::newRow(name) << write << model << setup << messages << outcome;
        };

        const QString noAccess = exclamation(
            "Failed to access the device ! Please check whether the device is well connected.");
        row(
            "probe unanswered twice", false, 1, [](LinkRig &r) { r.device.probeAnswers = {""}; },
            {noAccess}, SessionOutcome::NoAnswer);
        row(
            "probe answer not ns", true, 1, [](LinkRig &r) { r.device.probeAnswers = {"xs0123"}; },
            {noAccess}, SessionOutcome::NoAnswer);
        row(
            "probe answer of 5 bytes", false, 2,
            [](LinkRig &r) { r.device.probeAnswers = {probe(0, 1, 2, 3).left(5)}; },
            {exclamation("Some devices not ready !  Please try again ! ")},
            SessionOutcome::DevicesNotReady);

        const QStringList notFound{
            "Device 0 Not Found !",     "Device 1 Not Found !",      "Device 0,1 Not Found !",
            "Device 2 Not Found !",     "Device 0,2 Not Found !",    "Device 1,2 Not Found !",
            "Device 0,1,2 Not Found !", "Module Device Not Found !", "Device 0,3 Not Found !",
            "Device 1,3 Not Found !",   "Device 0,1,3 Not Found !",  "Device 2,3 Not Found !",
            "Device 0,2,3 Not Found !", "Device 1,2,3 Not Found !",  "Device 0,1,2,3 Not Found !"};
        for (int status = 1; status <= 15; ++status) {
            QByteArray answer = probe(0, 1, 2, 3);
            for (int d = 0; d < 4; ++d)
                if (status & 1 << d)
                    answer[2 + d] = char('0' + d); // a digit, not the device number
            QTest::addRow("presence status %d", status)
                << (status % 2 == 0) << 2
                << Setup([answer](LinkRig &r) { r.device.probeAnswers = {answer}; })
                << QStringList{critical(notFound.at(status - 1))} << SessionOutcome::DeviceMissing;
        }

        const QString detected =
            critical("Module is detected ! This device is not pure 24-Port N-Way Switch !");
        row(
            "24-port with a gigabit module", false, 0,
            [](LinkRig &r) { r.device.moduleCodes = {6}; }, {detected},
            SessionOutcome::ModuleMismatch);
        row(
            "24-port with an 8-port module, write", true, 0,
            [](LinkRig &r) { r.device.moduleCodes = {3}; }, {detected},
            SessionOutcome::ModuleMismatch);
        row(
            "1000Base-SX without its module", false, 1,
            [](LinkRig &r) { r.device.moduleCodes = {3}; },
            {critical("Gigabit Fiber Module Not Found !")}, SessionOutcome::ModuleMismatch);
        row(
            "32-port without its module, write", true, 2,
            [](LinkRig &r) { r.device.moduleCodes = {6}; }, {critical("8-Port Module Not Found !")},
            SessionOutcome::ModuleMismatch);

        const QString writeAgain = exclamation("EEPROM writing error ! Please write once again ! ");
        for (int device = 0; device < 4; ++device) {
            QTest::addRow("EEPROM %d unreadable", device)
                << false << 1
                << Setup([device](LinkRig &r) { r.device.shortBulkAnswers[device] = 2; })
                << QStringList{critical(QString("EEPROM %1 Reading Fail !").arg(device))}
                << SessionOutcome::EepromReadFailed;
            QTest::addRow("device %d has one wrong word", device)
                << true << 2 << Setup([device](LinkRig &r) {
                       r.device.garblesWrite = [device](const WordWrite &w) {
                           return w.device == device && w.address == 14;
                       };
                   })
                << QStringList{critical(QString("Device %1 EEPROM Writing Error !").arg(device)),
                               writeAgain}
                << SessionOutcome::VerifyFailed;
        }
        row(
            "device 0 stops answering", true, 1,
            [](LinkRig &r) {
                r.device.ignoresWrite = [](const WordWrite &w) {
                    return w.device == 0 && w.address >= 100;
                };
            },
            {critical("Device 0 EEPROM Writing Error !"), writeAgain},
            SessionOutcome::VerifyFailed);
        row(
            "device 3 not read back", true, 1, [](LinkRig &r) { r.device.shortBulkAnswers[3] = 4; },
            {critical("Device 3 EEPROM Writing Error !"), writeAgain},
            SessionOutcome::VerifyFailed);

        const Setup refused = [](LinkRig &r) { r.line.opensAllowed = 0; };
        const QStringList portError{critical("COM Port Open Error !")};
        row("port refused, read", false, 1, refused, portError, SessionOutcome::PortNotOpened);
        row("port refused, write", true, 1, refused, portError, SessionOutcome::PortNotOpened);
    }
    void everyMessage()
    {
        QFETCH(bool, write);
        QFETCH(int, model);
        QFETCH(Setup, setup);
        QFETCH(QStringList, messages);
        QFETCH(SessionOutcome, outcome);
        LinkRig rig;
        rig.device.moduleCodes = {fittedModule(model)};
        tagImage(rig.module.EepromImage);
        const ImageWords image = rig.module.EepromImage;
        setup(rig);

        QCOMPARE(rig.run(write, model), outcome);

        QCOMPARE(rig.sink.messages, messages);
        QCOMPARE(rig.module.EepromImage, image);
        QVERIFY(!rig.module.ImageLoaded);
        QCOMPARE(rig.device.resets, 0);
        QVERIFY(!rig.line.isOpen());
        QCOMPARE(rig.line.sendsWhileClosed, 0);
        QVERIFY(rig.line.unparsed.isEmpty());
        if (outcome == SessionOutcome::VerifyFailed) {
            // Every device is still checked after a failing one.
            QCOMPARE(QSet<int>(rig.device.bulkReads.begin(), rig.device.bulkReads.end()),
                     (QSet<int>{0, 1, 2, 3}));
        } else {
            QVERIFY(rig.device.writes.isEmpty());
        }
    }

    void probeRetriedOnceOnSilence_data()
    {
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<int>("probes");
        QTest::addColumn<SessionOutcome>("outcome");
        QTest::newRow("at once") << QByteArrayList{probe(0, 1, 2, 3)} << 1 << SessionOutcome::Done;
        QTest::newRow("second time")
            << QByteArrayList{"", probe(0, 1, 2, 3)} << 2 << SessionOutcome::Done;
        QTest::newRow("silent twice") << QByteArrayList{""} << 2 << SessionOutcome::NoAnswer;
        QTest::newRow("bad answer not retried")
            << QByteArrayList{"xx", probe(0, 1, 2, 3)} << 1 << SessionOutcome::NoAnswer;
    }
    void probeRetriedOnceOnSilence()
    {
        QFETCH(QByteArrayList, answers);
        QFETCH(int, probes);
        QFETCH(SessionOutcome, outcome);
        LinkRig rig;
        rig.device.probeAnswers = answers;
        QCOMPARE(rig.run(false, 1), outcome);
        QCOMPARE(rig.device.probes, probes);
    }

    // The module register is read again while it says "not ready" (1), and once more when it
    // names the wrong module; Read on the 24-port model makes a second reading.
    void moduleCheck_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("reads");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("32: 1 six times, then 1")
            << 2 << false << QList<int>{1, 1, 1, 1, 1, 1, 1} << 7 << false;
        QTest::newRow("32: 1 three times, then 3")
            << 2 << true << QList<int>{1, 1, 1, 3} << 4 << true;
        QTest::newRow("32: 6, then 3") << 2 << false << QList<int>{6, 3} << 2 << true;
        QTest::newRow("SX: no answer") << 1 << false << QList<int>{-1} << 2 << false;
        QTest::newRow("24 read: then 3") << 0 << false << QList<int>{0, 3} << 2 << false;
        QTest::newRow("24 read: then 1, 6") << 0 << false << QList<int>{0, 1, 6} << 3 << false;
        QTest::newRow("24 read: then 1, 1") << 0 << false << QList<int>{0, 1, 1, 6} << 3 << true;
        QTest::newRow("24 write: one reading") << 0 << true << QList<int>{0, 3} << 1 << true;
    }
    void moduleCheck()
    {
        QFETCH(int, model);
        QFETCH(bool, write);
        QFETCH(QList<int>, codes);
        QFETCH(int, reads);
        QFETCH(bool, accepted);
        LinkRig rig;
        rig.device.moduleCodes = codes;
        QCOMPARE(rig.run(write, model),
                 accepted ? SessionOutcome::Done : SessionOutcome::ModuleMismatch);
        QCOMPARE(rig.device.moduleReads, reads);
    }

    void readAndWrite_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("24-port") << 0;
        QTest::newRow("1000Base-SX") << 1;
        QTest::newRow("32-port") << 2;
    }
    // Read fills the model's devices of the image and the port words.
    void readAndWrite()
    {
        QFETCH(int, model);
        LinkRig rig;
        rig.device.moduleCodes = {fittedModule(model)};
        tagImage(rig.device.eeprom, 0x0F0F);
        tagImage(rig.module.EepromImage);
        const Module1 before = rig.module;
        const int devices = deviceCountOf(model);

        QCOMPARE(rig.run(false, model), SessionOutcome::Done);

        for (int d = 0; d < 4; ++d)
            QCOMPARE(rig.module.EepromImage[d],
                     d < devices ? rig.device.eeprom[d] : before.EepromImage[d]);
        QVERIFY(rig.module.ImageLoaded);
        QCOMPARE(rig.module.PortWords[2][15], rig.device.eeprom[2][28]);
        QCOMPARE(rig.module.PortWords[3][4],
                 model == 2 ? rig.device.eeprom[3][17] : before.PortWords[3][4]);
        QCOMPARE(rig.progress.last(), "-100");

        // Writing it back: every word, one read-back per device, then a single reset.
        const Module1 afterRead = rig.module;
        rig.device = FakeSwitch();
        rig.device.moduleCodes = {fittedModule(model)};
        rig.line.commands.clear();
        QCOMPARE(rig.run(true, model), SessionOutcome::Done);

        QCOMPARE(rig.device.writes.size(), 128 * devices);
        QCOMPARE(rig.device.bulkReads.size(), devices);
        QCOMPARE(rig.line.commands.count("j"), 1);
        QCOMPARE(rig.line.commands.last(), "j");
        QCOMPARE(rig.module.EepromImage, afterRead.EepromImage);
        QVERIFY(rig.sink.messages.isEmpty());
    }

    // The port can be lost at any step: reported once, the image left as it was.
    void portLostMidway_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("opensAllowed");
        QTest::addColumn<int>("bulkReads");
        // Read opens: clear input, probe, module, 4 EEPROMs.
        QTest::newRow("read: at the probe") << false << 1 << 0;
        QTest::newRow("read: at the module") << false << 2 << 0;
        QTest::newRow("read: at EEPROM 2") << false << 5 << 2;
        // Write opens: check, probe, module, write, 4 read-backs, reset.
        QTest::newRow("write: at the write") << true << 3 << 0;
        QTest::newRow("write: at read-back 3") << true << 7 << 3;
        QTest::newRow("write: at the reset") << true << 8 << 4;
    }
    void portLostMidway()
    {
        QFETCH(bool, write);
        QFETCH(int, opensAllowed);
        QFETCH(int, bulkReads);
        LinkRig rig;
        rig.line.opensAllowed = opensAllowed;
        tagImage(rig.device.eeprom, 0x0F0F);
        tagImage(rig.module.EepromImage);
        const Module1 before = rig.module;

        QCOMPARE(rig.run(write, 1), SessionOutcome::PortNotOpened);

        QCOMPARE(rig.sink.messages, QStringList{critical("COM Port Open Error !")});
        QCOMPARE(rig.device.bulkReads.size(), bulkReads);
        QCOMPARE(rig.device.resets, 0);
        QCOMPARE(rig.module.EepromImage, before.EepromImage);
        QCOMPARE(rig.module.PortWords, before.PortWords);
        QVERIFY(!rig.module.ImageLoaded);
        QVERIFY(rig.progress.isEmpty() || rig.progress.last().startsWith('-'));
    }
};

SWCFG_TEST_CLASS(SwitchSessionTest)
#include "switch_session_test.moc"
