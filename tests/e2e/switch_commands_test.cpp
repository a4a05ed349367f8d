#include "switch_rig.h"

#include "image/device_models.h"
#include "link/link_messages.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QLabel>
#include <QTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString kWriteOnceAgain = QStringLiteral("EEPROM writing error ! Please write once again ! ");
// Messages shown with the exclamation icon; every other one has the critical icon.
const QStringList kWarnings{
    "Failed to access the device ! Please check whether the device is well connected.",
    "Some devices not ready !  Please try again ! ", kWriteOnceAgain,
    QString::fromLatin1(LinkMessages::kNotRestarted)};

QString writingError(int device)
{
    return QStringLiteral("Device %1 EEPROM Writing Error !").arg(device);
}

} // namespace

class SwitchCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    // A configuration read from a switch, changed in every word and written back: each word lands
    // where it belongs both ways, the Write is verified, and the reset is the last thing sent.
    void readThenWrite_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("comPort");
        QTest::addColumn<QStringList>("faults");
        QTest::newRow("24-port") << 0 << 1 << QStringList{};
        QTest::newRow("1000Base-SX on COM3") << 1 << 3 << QStringList{};
        QTest::newRow("32-port on COM8") << 2 << 8 << QStringList{};
        QTest::newRow("24-port ignores the module byte") << 0 << 1 << QStringList{"--missing", "3"};
        QTest::newRow("one garbled EEPROM answer is read again")
            << 1 << 1 << QStringList{"--read-fault", "3:nonhex:1"};
        QTest::newRow("one silent probe is sent again")
            << 0 << 1 << QStringList{"--probe-fault", "silent:1"};
        QTest::newRow("answers trickle in a byte at a time")
            << 0 << 1 << QStringList{"--trickle", "1"};
        QTest::newRow("word answers of 11 and 12 bytes in turn")
            << 0 << 1 << QStringList{"--write-answers", "11,12"};
        QTest::newRow("EEPROM answers end in CR LF")
            << 0 << 1 << QStringList{"--read-trailer", "0d0a"};
    }
    void readThenWrite()
    {
        QFETCH(int, model);
        QFETCH(int, comPort);
        QFETCH(QStringList, faults);
        SwitchRig rig;
        rig.model = model;
        const ImageWords onSwitch = TestImages::validImage(model);
        faults << "--image" << rig.writeFile("switch.bin", onSwitch);
        QVERIFY2(rig.start(model, faults, comPort), qPrintable(rig.sim.errorString()));
        rig.h.state.eepromImage[3].fill(0x3333); // never read from a 24-port switch

        rig.h.window.readButton->click();

        QVERIFY2(rig.h.prompter.prompts.isEmpty(), qPrintable(rig.h.prompter.texts().join('|')));
        QVERIFY(rig.idleAfter(rig.h.window.readButton));
        ImageWords expected = onSwitch;
        if (model == 0)
            expected[3].fill(0x3333);
        QVERIFY(rig.h.state.eepromImage == expected);
        QVERIFY(rig.h.state.imageLoaded);
        QCOMPARE(rig.h.state.portWords[2][5], onSwitch[2][18]);
        QVERIFY(rig.h.window.saveButton->isEnabled() && rig.h.window.writeButton->isEnabled());
        QCOMPARE(rig.logCount("write"), 0);
        QCOMPARE(rig.h.window.statusLine->text(),
                 QStringLiteral("Read %1 devices from %2. COM%2").arg(model ? 4 : 3).arg(comPort));

        for (auto &device : rig.h.state.eepromImage) {
            for (quint16 &word : device)
                word ^= 0x0F0F;
        }
        const ImageWords written = rig.h.state.eepromImage;
        rig.h.window.writeButton->click();

        QVERIFY2(rig.h.prompter.prompts.isEmpty(), qPrintable(rig.h.prompter.texts().join('|')));
        QVERIFY(rig.idleAfter(rig.h.window.writeButton));
        QVERIFY(rig.h.state.eepromImage == written);
        QCOMPARE(rig.h.window.statusLine->text(), "Written and verified; the switch restarted");
        const std::optional<ImageWords> held = rig.sim.stateImage();
        QVERIFY(held);
        for (int d = 0; d < deviceCountOf(model); ++d)
            QCOMPARE((*held)[d], written[d]);
        QCOMPARE(rig.logCount("write"), model == 0 ? 384 : 512);
        QVERIFY(rig.settle());
        QCOMPARE(rig.logCount("skipped"), 0); // no stray bytes between the commands
        const QStringList log = rig.sim.logLines();
        QCOMPARE(log.count("reset"), 1);
        QCOMPARE(log.at(log.size() - 2), QStringLiteral("reset")); // before our own probe
    }

    // Every refusal and failure of Read and Write: the messages, shown while the window is
    // disabled and refuses to close, then the window usable again with nothing changed and no
    // reset sent. The switch holds its factory image, the window another one (unless nothing was
    // opened). A Write stops at a failed check; a device that reads back differently is reported
    // and the later ones are still checked.
    void failuresChangeNothing_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QList<int>>("written"); // devices holding the image; none: no write
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QString>("reason"); // given with the first message
        const auto row = [](const char *name, bool write, int model, const QString &faults,
                            const QStringList &messages, const QList<int> &written = {},
                            bool opened = true, const QString &reason = {}) {
            QTest::newRow(name) << write << model << faults.split(' ', Qt::SkipEmptyParts)
                                << messages << written << opened << reason;
        };
        const QString portOpenError = QStringLiteral("COM Port Open Error !");
        const QString moduleDetected =
            QStringLiteral("Module is detected ! This device is not pure 24-Port N-Way Switch !");

        row("read: no answer twice", false, 1, "--probe-fault silent", {kWarnings[0]});
        row("read: answer not starting with ns", false, 1, "--probe-fault garbled", {kWarnings[0]});
        row("read: short probe answer", false, 2, "--probe-fault short", {kWarnings[1]});
        row("read: long probe answer", false, 0, "--probe-fault long", {kWarnings[1]});
        row("read: device 1 missing", false, 0, "--missing 1", {"Device 1 Not Found !"});
        row("read: devices 0, 2 and 3 missing", false, 2, "--missing 0,2,3",
            {"Device 0,2,3 Not Found !"});
        row("read: module device missing", false, 1, "--missing 3", {"Module Device Not Found !"});
        row("read: module on a 24-port switch", false, 0, "--module-codes 6", {moduleDetected});
        row("read: module found on the second reading", false, 0, "--module-codes 0,3",
            {moduleDetected});
        row("read: 8-port module on a 1000Base-SX switch", false, 1, "--module-codes 3",
            {"Gigabit Fiber Module Not Found !"});
        row("read: module never ready on a 32-port switch", false, 2, "--module-codes 1",
            {"8-Port Module Not Found !"});
        // Devices 0 and 1 were read: none of them may reach the image.
        row("read: EEPROM 2 fails twice, nothing opened", false, 2, "--read-fault 2:nonhex:2",
            {"EEPROM 2 Reading Fail !"}, {}, false,
            "the answer of device 2 has \"G\" at byte 261, where a hexadecimal digit belongs");
        row("read: no such port", false, 1, "", {portOpenError}, {}, true,
            "/nonexistent/ttyS99: No such file or directory");
        row("write: no such port", true, 1, "", {portOpenError});
        row("read: the port is not allowed", false, 1, "", {portOpenError}, {}, true,
            "Permission denied\nOnly members of the group 'dialout' may open it: sudo usermod "
            "-aG dialout $USER");
        row("read: noise on the line", false, 1, "--noise", {kWarnings[0]});
        // The controller vanishes once device 0 is read, or while device 2 is written (words went
        // to the switch: a port that no longer opens is a failed write), or after the last
        // read-back, so the reset cannot go out.
        row("read: the line vanishes", false, 1, "--vanish-after 3", {portOpenError});
        row("write: the line vanishes", true, 0, "--vanish-after 382",
            {portOpenError, kWriteOnceAgain}, {0, 1});
        row("write: no reset after the line vanished", true, 0, "--vanish-after 389",
            {portOpenError, QString::fromLatin1(LinkMessages::kNotRestarted)}, {0, 1, 2});
        row("write: device missing", true, 0, "--missing 1", {"Device 1 Not Found !"});
        row("write: gigabit module on a 32-port switch", true, 2, "--module-codes 6",
            {"8-Port Module Not Found !"});
        row("write: device 3 keeps another word", true, 2, "--corrupt-word 3:77",
            {writingError(3), kWriteOnceAgain}, {0, 1, 2});
        row("write: devices 1 and 3 differ", true, 1, "--corrupt-word 1:5 --corrupt-word 3:120",
            {writingError(1), writingError(3), kWriteOnceAgain}, {0, 2});
        row("write: read-back of device 2 fails twice", true, 0, "--read-fault 2:nonhex:2",
            {writingError(2), kWriteOnceAgain}, {0, 1, 2});
        // The line dies for one command in device 0's pass: that device stops there, the rest is
        // still written.
        row("write: no answer in the middle of device 0", true, 0,
            "--drop-after-writes 40 --drop-commands 1", {writingError(0), kWriteOnceAgain}, {1, 2});
    }
    void failuresChangeNothing()
    {
        QFETCH(bool, write);
        QFETCH(int, model);
        QFETCH(QStringList, faults);
        QFETCH(QStringList, messages);
        QFETCH(QList<int>, written);
        QFETCH(bool, opened);
        QFETCH(QString, reason);
        SwitchRig rig;
        QVERIFY2(rig.start(model, faults), qPrintable(rig.sim.errorString()));
        if (opened)
            rig.open(TestImages::validImage(model));
        rig.h.state.portWords[0][0] = 0x00F0; // an edit not yet committed
        const ImageState before = rig.h.state;
        const QByteArray tag = QTest::currentDataTag();
        if (tag.endsWith("no such port")) {
            qputenv("SWCFG_COM1", QByteArray("/nonexistent/ttyS99"));
            rig.h.window.portList->refresh();
            rig.h.window.portList->setCurrentIndex(0);
        }
        // Nobody but its owner may open the terminal, and the window runs as somebody else.
        const bool locked = tag.endsWith("not allowed");
        if (locked) { // the group of serial devices, as on a Debian machine
            QVERIFY(QFile::setPermissions(rig.sim.ptyPath(), QFileDevice::WriteOwner));
            const gid_t dialout = getgrnam("dialout")->gr_gid;
            QVERIFY(chown(qPrintable(rig.sim.ptyPath()), uid_t(-1), dialout) == 0);
            QVERIFY(chmod(qPrintable(rig.sim.folder()), 0711) == 0); // only the device refuses
        }
        int busyDuringMessages = 0;
        rig.h.prompter.onPrompt = [&](const Prompt &) {
            busyDuringMessages += !rig.h.window.isEnabled() && !rig.h.window.close();
        };
        QPushButton *command = write ? rig.h.window.writeButton : rig.h.window.readButton;

        if (locked && geteuid() == 0)
            QVERIFY(seteuid(65534) == 0);
        command->click();
        if (locked && getuid() == 0)
            QVERIFY(seteuid(0) == 0);

        QCOMPARE(rig.h.prompter.texts(), messages);
        QCOMPARE(rig.h.window.statusLine->text(), messages.last()); // the last message shown
        QVERIFY2(rig.h.prompter.prompts.value(0).reason.contains(reason),
                 qPrintable(rig.h.prompter.prompts.value(0).reason));
        for (const Prompt &prompt : rig.h.prompter.prompts) {
            QCOMPARE(prompt.icon, kWarnings.contains(prompt.text) ? MessageIcon::Exclamation
                                                                  : MessageIcon::Critical);
            QCOMPARE(prompt.title, QStringLiteral("Device Configuration"));
        }
        QCOMPARE(busyDuringMessages, messages.size());
        QVERIFY(rig.idleAfter(command));
        QVERIFY(rig.h.state.eepromImage == before.eepromImage);
        QVERIFY(rig.h.state.portWords == before.portWords);
        QCOMPARE(rig.h.state.imageLoaded, opened);
        QCOMPARE(rig.h.window.saveButton->isEnabled(), opened);
        QCOMPARE(rig.h.window.writeButton->isEnabled(), opened);
        const std::optional<ImageWords> held = rig.sim.stateImage();
        QVERIFY(held);
        for (int d : written)
            QCOMPARE((*held)[d], before.eepromImage[d]);
        if (!faults.contains("--vanish-after"))
            QVERIFY(rig.settle());
        if (written.isEmpty())
            QCOMPARE(rig.logCount("write"), 0);
        QCOMPARE(rig.logCount("reset"), 0);
    }
};

SWCFG_TEST_CLASS(SwitchCommandsTest)
#include "switch_commands_test.moc"
