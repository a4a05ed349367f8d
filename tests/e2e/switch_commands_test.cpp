#include "switch_rig.h"

#include "image/device_models.h"
#include "link/link_messages.h"
#include "link/stop_messages.h"
#include "support/image_builders.h"
#include "support/line_settings.h"
#include "support/test_main.h"
#include "ui/main/main_window_texts.h"
#include "ui/stop_signal_watch.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTest>

#include <QSignalSpy>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
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

// Standard error goes to a file from the making of this until text().
struct StandardErrorCapture {
    QTemporaryFile file;
    const int saved = dup(STDERR_FILENO);
    StandardErrorCapture() { file.open() && dup2(file.handle(), STDERR_FILENO) >= 0; }
    ~StandardErrorCapture() { text(), close(saved); }
    QString text()
    {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        return file.seek(0) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }
};

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
        const QString at = QStringLiteral(" %1. COM%1 at \\d\\d:\\d\\d$").arg(comPort);
        QVERIFY(rig.h.window.sourceLine->text().contains(QRegularExpression("^read from" + at)));

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
        QVERIFY(rig.h.window.sourceLine->text().contains(QRegularExpression("^written to" + at)));
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

        const QString noAnswer = QStringLiteral("No answer on 1. COM1 ({link}).");
        row("read: no answer twice", false, 1, "--probe-fault silent", {kWarnings[0]}, {}, true,
            noAnswer);
        row("read: answer not starting with ns", false, 1, "--probe-fault garbled", {kWarnings[0]},
            {}, true, noAnswer);
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
        row("write: the line vanishes in device 1 of 4", true, 2, "--vanish-after 200",
            {portOpenError, kWriteOnceAgain}, {0});
        row("write: no reset after the line vanished", true, 0, "--vanish-after 389",
            {portOpenError, QString::fromLatin1(LinkMessages::kNotRestarted)}, {0, 1, 2});
        row("write: device missing", true, 0, "--missing 1", {"Device 1 Not Found !"});
        row("write: gigabit module on a 32-port switch", true, 2, "--module-codes 6",
            {"8-Port Module Not Found !"});
        row("write: device 3 keeps another word", true, 2, "--corrupt-word 3:77",
            {writingError(3), kWriteOnceAgain}, {0, 1, 2});
        row("write: devices 1 and 3 differ", true, 1, "--corrupt-word 1:5 --corrupt-word 3:120",
            {writingError(1), writingError(3), kWriteOnceAgain}, {0, 2});
        // Every word of device 2 was answered: only its read-back failed.
        row("write: read-back of device 2 fails twice", true, 0, "--read-fault 2:nonhex:2",
            {LinkMessages::readBackFailed(2), kWriteOnceAgain}, {0, 1, 2});
        // The line dies for one command in device 0's pass: that device stops there, the rest is
        // still written. Its read-back fails too: a device with words unanswered keeps the
        // writing-error message.
        row("write: no answer in the middle of device 0", true, 0,
            "--drop-after-writes 40 --drop-commands 1 --read-fault 0:nonhex:2",
            {writingError(0), kWriteOnceAgain}, {1, 2});
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
        rig.h.state.unsavedChanges = write;   // and settings confirmed before
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
            busyDuringMessages += !rig.h.window.commandPanel->isEnabled();
        };
        QPushButton *command = write ? rig.h.window.writeButton : rig.h.window.readButton;

        if (locked && geteuid() == 0)
            QVERIFY(seteuid(65534) == 0);
        command->click();
        if (locked && getuid() == 0)
            QVERIFY(seteuid(0) == 0);

        QCOMPARE(rig.h.prompter.texts(), messages);
        const Prompt last = rig.h.prompter.prompts.constLast(); // and the status line shows it
        QCOMPARE(rig.h.window.statusLine->text(), MainWindowTexts::failed(last.text, last.reason));
        QVERIFY2(rig.h.prompter.prompts.value(0).reason.contains(
                     QString(reason).replace("{link}", rig.sim.linkPath())),
                 qPrintable(rig.h.prompter.prompts.value(0).reason));
        // Under the request to write again: the words sent (none once the line is gone), and
        // what the switch now holds.
        const int sent = rig.logCount("write");
        const int words = deviceCountOf(model) * kWordsPerDevice;
        for (const Prompt &prompt : rig.h.prompter.prompts) {
            QVERIFY2(prompt.text != kWriteOnceAgain ||
                         (prompt.reason.startsWith(
                              (sent < words ? QString("%1 of %2 words were sent. ").arg(sent)
                                            : QString("All %2 words were sent. "))
                                  .arg(words) +
                              "The switch was not restarted: it keeps running its old "
                              "configuration until it") &&
                          prompt.reason.endsWith(sent < words ? "part of the new one."
                                                              : "not as it was written.")),
                     qPrintable(prompt.reason));
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
        // The settings confirmed before are still to lose (No keeps the window), unless every
        // device verified.
        rig.h.prompter.answers = {false};
        QCOMPARE(rig.h.window.close(), !write || messages.last() == LinkMessages::kNotRestarted);
    }

    // A transfer ended midway by Stop, Escape, closing the window or a signal, as Ctrl-C ends
    // swcfgctl: between two words (counted against the switch's log), no reset, the port closed
    // normally (its lock gone, its settings as before), and what the switch holds said: in a box,
    // or on standard error before the program ends with 128 + the signal. Closing and answering
    // No lets the transfer finish; a signal with no transfer running ends the program at once.
    void stoppedMidTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("signal");
        QTest::newRow("write, Stop") << true << "stop" << 0;
        QTest::newRow("write, Escape") << true << "escape" << 0;
        QTest::newRow("read, Stop") << false << "stop" << 0;
        QTest::newRow("write, closing, No") << true << "close" << 0;
        QTest::newRow("write, closing, Yes") << true << "close" << 0;
        QTest::newRow("write, SIGTERM") << true << "signal" << SIGTERM;
        QTest::newRow("read, SIGHUP") << false << "signal" << SIGHUP;
        QTest::newRow("no transfer, SIGINT") << false << "idle" << SIGINT;
    }
    void stoppedMidTransfer()
    {
        QFETCH(bool, write);
        QFETCH(QString, how);
        QFETCH(int, signal);
        const bool closeYes = QByteArray(QTest::currentDataTag()).endsWith("Yes");
        SwitchRig rig;
        QVERIFY2(rig.start(0), qPrintable(rig.sim.errorString()));
        rig.open(TestImages::validImage(0));
        MainWindow &window = rig.h.window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window)); // for Escape
        StopSignalWatch watch;
        window.takeStopSignals(watch);
        QSignalSpy quit(&window, &MainWindow::quitRequested);
        const QString lock = "LCK.." + QString(rig.sim.linkPath()).replace('/', '_');
        const auto locked = [&lock] { return !QDir("/run/lock").entryList({lock}).isEmpty(); };
        const QByteArray before = lineSettings(rig.sim.ptyPath());
        bool triggered = false, heldMidway = false;
        QObject::connect(window.progressBar, &QProgressBar::valueChanged, [&](int value) {
            if (triggered || value < 1 || !window.progressBar->format().contains("device 2"))
                return;
            triggered = true;
            heldMidway = locked() && lineSettings(rig.sim.ptyPath()) != before;
            rig.h.prompter.answers = {closeYes};
            if (how == "stop")
                window.stopButton->click();
            else if (how == "escape")
                QTest::keyClick(&window, Qt::Key_Escape);
            else if (how == "close")
                window.close();
            else
                raise(signal);
        });
        StandardErrorCapture standardError;

        if (how == "idle") {
            raise(signal);
            QTRY_COMPARE(quit.size(), 1);
        } else {
            (write ? window.writeButton : window.readButton)->click();
            QVERIFY(heldMidway);
        }

        const QString said = standardError.text();
        QVERIFY(rig.settle());
        const bool stopped = how != "idle" && !(how == "close" && !closeYes);
        const int sent = rig.logCount("write");
        QString message =
            !write ? MainWindowTexts::kReadStopped
                   : MainWindowTexts::kWriteStopped + StopMessages::writeStopped(sent, 384);
        if (signal)
            message =
                StopMessages::stoppedBy(signal) +
                (write ? StopMessages::writeStopped(sent, 384) : ": the switch was only read.");
        QStringList shown = rig.h.prompter.texts();
        if (how == "close")
            QCOMPARE(shown.takeFirst(), MainWindowTexts::kStopWriteQuestion);
        QCOMPARE(shown, stopped && !signal ? QStringList{message} : QStringList{});
        QVERIFY2(signal && how != "idle" ? said.contains(message + '\n') : !said.contains("Stop"),
                 qPrintable(said));
        QCOMPARE(quit.value(0).value(0), signal ? QVariant(128 + signal) : QVariant());
        QCOMPARE(window.isVisible(), !signal && !closeYes);
        QCOMPARE(rig.logCount("reset"), stopped || !write ? 0 : 1);
        QCOMPARE(sent, !write ? 0 : stopped ? 131 : 384); // word 3 of device 1 was not sent
        QCOMPARE(rig.sim.logLines().filter(QRegularExpression("^read 2 0 ")).size(),
                 write && !stopped ? 1 : 0);
        QVERIFY(!locked());
        QCOMPARE(lineSettings(rig.sim.ptyPath()), before);
    }
};

SWCFG_TEST_CLASS(SwitchCommandsTest)
#include "switch_commands_test.moc"
