#include "fake_switch.h"
#include "link/switch_session.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

struct RecordingSink : SessionMessageSink {
    void report(const QString &text, MessageSeverity) override { texts << text; }
    QStringList texts;
};

} // namespace

class SwitchSessionTest : public QObject
{
    Q_OBJECT

private slots:
    // The module register is read again while it says "not ready" (1), up to five times, and once
    // more when it names the wrong module. Read on the 24-port model takes a second reading.
    void moduleCheck_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<int>("reads");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("32-port: 1 six times, then 1") << 2 << false << QList<int>{1} << 7 << false;
        QTest::newRow("32-port: 1 three times, then 3")
            << 2 << true << QList<int>{1, 1, 1, 3} << 4 << true;
        QTest::newRow("32-port: 6, then 3") << 2 << false << QList<int>{6, 3} << 2 << true;
        QTest::newRow("24-port read: 0, then 3") << 0 << false << QList<int>{0, 3} << 2 << false;
        QTest::newRow("24-port read: 0, then 1, 6")
            << 0 << false << QList<int>{0, 1, 6} << 3 << false;
        QTest::newRow("24-port write: one reading") << 0 << true << QList<int>{0, 3} << 1 << true;
    }
    void moduleCheck()
    {
        QFETCH(int, model);
        QFETCH(bool, write);
        QFETCH(QList<int>, codes);
        QFETCH(int, reads);
        QFETCH(bool, accepted);
        LinkRig rig;
        RecordingSink sink;
        rig.device.moduleCodes = codes;
        rig.device.eeprom = rig.module.EepromImage;
        SwitchSession session(rig.module, rig.line, rig.clock, sink);

        QCOMPARE(write ? session.write(model) : session.read(model),
                 accepted ? SessionOutcome::Done : SessionOutcome::ModuleMismatch);
        QCOMPARE(rig.device.moduleReads, reads);
    }

    // Read puts nothing into the image until every device was read.
    void failedReadLeavesTheImage()
    {
        LinkRig rig;
        RecordingSink sink;
        rig.device.eeprom = TestImages::validImage(2);
        rig.device.ignores = [](const QByteArray &command) { return command == "nr20000256\r"; };
        const ImageWords before = rig.module.EepromImage;

        QCOMPARE(SwitchSession(rig.module, rig.line, rig.clock, sink).read(1),
                 SessionOutcome::EepromReadFailed);

        QCOMPARE(sink.texts, QStringList{"EEPROM 2 Reading Fail !"});
        QCOMPARE(rig.line.commands.count("nr20000256\r"), 2);
        QCOMPARE(rig.module.EepromImage, before);
        QVERIFY(!rig.module.ImageLoaded);
    }

    // A device that reads back differently is reported and the later ones are still checked; the
    // switch is reset only on a verified image.
    void failedVerificationGoesOnWithoutReset()
    {
        LinkRig rig;
        RecordingSink sink;
        rig.module.EepromImage = TestImages::validImage(2);
        rig.device.moduleCodes = {3};
        rig.device.ignores = [](const QByteArray &command) { return command.startsWith("no10"); };

        QCOMPARE(SwitchSession(rig.module, rig.line, rig.clock, sink).write(2),
                 SessionOutcome::VerifyFailed);

        QCOMPARE(sink.texts, (QStringList{"Device 1 EEPROM Writing Error !",
                                          "EEPROM writing error ! Please write once again ! "}));
        QCOMPARE(rig.line.commands.count("nr30000256\r"), 1);
        QVERIFY(!rig.line.commands.contains("j"));
    }
};

SWCFG_TEST_CLASS(SwitchSessionTest)
#include "switch_session_test.moc"
