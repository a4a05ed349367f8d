#include "cli_commands.h"
#include "image/bin_file.h"
#include "image/factory_image.h"
#include "launcher/sim_process.h"
#include "run_ctl.h"
#include "support/files.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>


#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

class SwcfgctlRunTest : public QObject
{
    Q_OBJECT

private slots:
    void exitStatuses_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("status");
        using O = SessionOutcome;
        QTest::newRow("done") << int(O::Done) << 0;
        QTest::newRow("port not opened") << int(O::PortNotOpened) << 3;
        QTest::newRow("no answer") << int(O::NoAnswer) << 3;
        QTest::newRow("devices not ready") << int(O::DevicesNotReady) << 3;
        QTest::newRow("device missing") << int(O::DeviceMissing) << 3;
        QTest::newRow("module mismatch") << int(O::ModuleMismatch) << 3;
        QTest::newRow("EEPROM read failed") << int(O::EepromReadFailed) << 4;
        QTest::newRow("verification failed") << int(O::VerifyFailed) << 4;
        QTest::newRow("verified, not restarted") << int(O::NotRestarted) << 4;
    }
    void exitStatuses()
    {
        QFETCH(int, outcome);
        QTEST(int(exitStatusFor(SessionOutcome(outcome))), "status");
    }

    // Read saves the switch's EEPROMs byte for byte (a file replaced keeps its mode), or sends
    // them to standard output; write of that file, changed, leaves the switch holding it and
    // resets it once to take it. Only help goes to standard output.
    void readThenWrite()
    {
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "24sx"}), qPrintable(sim.errorString()));
        const QString file = QDir(sim.folder()).filePath("config.bin");
        QVERIFY(putFile(file, "old") && chmod(qPrintable(file), 04640) == 0);

        QCOMPARE(runCtl({"read", "--model", "24sx", "--port", sim.ptyPath(), "-o", file}), "0||");
        struct stat saved; // the permission bits are kept, but not set-user-ID
        QVERIFY(stat(qPrintable(file), &saved) == 0 && (saved.st_mode & 07777) == 0640);
        QByteArray bytes = fileBytes(file);
        QCOMPARE(bytes.size(), 1024);
        QCOMPARE(bytes, fileBytes(sim.statePath()));
        const QString copy = QDir(sim.folder()).filePath("copy.bin");
        QCOMPARE(runCtl({"read", "-m", "24sx", "-p", sim.ptyPath(), "-o", "-", ">" + copy}), "0||");
        QCOMPARE(fileBytes(copy), bytes);

        bytes[3 * 256 + 41] = '\x5A'; // a word of the module device
        QVERIFY(putFile(file, bytes));
        QCOMPARE(runCtl({"write", "--model", "24sx", "--port", sim.ptyPath(), "-", "<" + file}),
                 "0||");
        QVERIFY(SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        QCOMPARE(sim.logLines().count("reset"), 1);
        QCOMPARE(sim.logLines().last(), QString("reset"));
        QCOMPARE(fileBytes(sim.statePath()), bytes);

        const QString help = runCtl({"write", "--help"});
        QVERIFY2(help.startsWith("0|Usage: swcfgctl write ") && help.endsWith('|'),
                 qPrintable(help));
    }

    // Outcomes that only the whole program shows: its exit status, what it says (first and last),
    // that an existing output file (holding "old") is left alone, and that the switch is reset
    // only after a write that succeeded. In the arguments, {pty} is the simulator's terminal
    // (when one is started) and {dir} a folder of the test's own.
    void faults_data()
    {
        QTest::addColumn<QStringList>("simArguments"); // none: no simulator
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("limitFileSize");
        QTest::addColumn<QString>("result"); // how it starts, and after "..." how it ends
        QTest::addColumn<bool>("switchUntouched");
        const auto row = [](const char *name, const QString &sim, const QString &arguments,
                            bool limitFileSize, const QString &result, bool switchUntouched) {
            QTest::newRow(name) << sim.split(' ', Qt::SkipEmptyParts) << arguments.split(' ')
                                << limitFileSize << result << switchUntouched;
        };
        const QString read = "read --model 32 --port {pty} -o {dir}/out.bin";
        const QString saveError = ": File Save Error ! The file was not changed.\n";
        row("usage", "", "read --model 48 --port {dir}/tty -o {dir}/out.bin", false,
            "1||swcfgctl: bad model '48'", true);
        row("output folder missing", "--model 2",
            "read --model 32 --port {pty} -o {dir}/missing/out.bin", false,
            "2||{dir}/missing/out.bin" + saveError, true);
        row("save fails after the read", "--model 2", read, true, "2||{dir}/out.bin" + saveError,
            false);
        row("backup fails after the read", "--model 0",
            "write --model 24 --port {pty} --changed-only --backup {dir}/out.bin {dir}/in.bin",
            true, "2||{dir}/out.bin" + saveError, false);
        row("no such port", "", "read --model 32 --port {dir}/ttyNONE -o {dir}/out.bin", false,
            "3||COM Port Open Error !\n{dir}/ttyNONE: No such file or directory\n", true);
        row("saving onto a FIFO", "--model 2", "read --model 32 --port {pty} -o {dir}/fifo", false,
            "2||{dir}/fifo" + saveError + "it is not a regular file\n", true);
        row("showing a FIFO", "", "show {dir}/fifo", false,
            "2||{dir}/fifo: File Open Error !\nit is not a regular file\n", true);
        row("saving onto a loop of links", "--model 2",
            "read --model 32 --port {pty} -o {dir}/loop", false,
            "2||{dir}/loop" + saveError + "Too many levels of symbolic links\n", true);
        // A whole 24-port file, short for the 24sx model: named as the other model's file.
        row("writing a file of another model", "--model 1",
            "write --model 24sx --port {pty} {dir}/in.bin", false,
            "2||{dir}/in.bin:  Error ! This is not 24-Port,1000SX Binary File ! \n", true);
        row("a document from standard input", "", "apply -c - -o {dir}/new.bin <{dir}/in.bin",
            false, "2||standard input:1:2: not valid JSON", true);
        row("a document through /dev/stdin, a pipe", "",
            R"(apply -c /dev/stdin -o {dir}/new.bin <<{"format":"swcfg-config","version":1,)"
            R"("model":"24"})",
            false, "0||...||", true);
        row("version", "", "--version", false, "0|swcfgctl " SWCFG_VERSION "\n|", true);
        const QString noSpace = "2||swcfgctl: standard output could not be written: No space";
        row("show onto a full disk", "", "show --json --model 24 {dir}/in.bin >/dev/full", false,
            noSpace, true);
        const QString brokenPipe =
            "2||swcfgctl: standard output could not be written: Broken pipe\n";
        row("an image read into a closed pipe", "--model 2", "read -m 32 -p {pty} -o - >|", false,
            brokenPipe, false);
        row("ports into a closed pipe", "", "ports --json >|", false, brokenPipe, true);

        row("noise on the line", "--model 2 --noise", read, false,
            "3||Failed to access the device !", false);
        // The outcomes of a write (a stopped one: stoppedBySignal). 2 commands of checks come
        // before the words of a 24-port switch.
        const QString write = "write --model 24 --port {pty} {dir}/in.bin";
        const QString writeAgain = "EEPROM writing error ! Please write once again ! \n";
        row("written, verified and restarted", "--model 0", write, false, "0||...||", false);
        row("a word keeps another value", "--model 0 --corrupt-word 1:40", write, false,
            "4||Device 1 EEPROM Writing Error !\n" + writeAgain, false);
        row("the line vanishes while writing device 2", "--model 0 --vanish-after 382", write,
            false, "4||COM Port Open Error !\n/dev/pts/..." + writeAgain, false);
    }
    void faults()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(QStringList, arguments);
        QFETCH(bool, limitFileSize);
        QFETCH(QString, result);
        QTemporaryDir dir;
        SimProcess sim;
        if (!simArguments.isEmpty())
            QVERIFY2(sim.start(simArguments), qPrintable(sim.errorString()));
        QVERIFY(putFile(dir.filePath("out.bin"), "old"));
        QVERIFY(putFile(dir.filePath("in.bin"), BinFile::encode(factoryImage(0), 0)));
        QVERIFY(mkfifo(qPrintable(dir.filePath("fifo")), 0600) == 0);
        QVERIFY(QFile::link(dir.filePath("loop"), dir.filePath("loop")));
        for (QString &argument : arguments)
            argument.replace("{pty}", sim.ptyPath()).replace("{dir}", dir.path());
        result.replace("{dir}", dir.path());

        const QString run = runCtl(arguments, limitFileSize);

        QVERIFY2(run.startsWith(result.section("...", 0, 0)) &&
                     run.endsWith(result.section("...", 1)),
                 qPrintable(run));
        QCOMPARE(fileBytes(dir.filePath("out.bin")), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList({"out.bin*"}, QDir::Files).size(), 1);
        // swcfgctl has ended, so whatever it sent has reached the simulator's log by now.
        const bool reset = result.startsWith("0||") && sim.isRunning();
        QVERIFY(!reset || SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        const QStringList log = sim.logLines();
        QTEST(log.isEmpty(), "switchUntouched");
        QVERIFY2(log.contains("reset") == reset, qPrintable(log.join('\n')));
    }

    // A signal while swcfgctl talks to a paced switch: the word on the wire is finished, the
    // port's settings are put back and its lock released, and what the switch holds is said. A
    // second signal while it stops changes nothing (it is sent after the first, and a lower
    // number is taken first when both are pending). --changed-only writes the words 20 to 127 of
    // every device, which differ.
    void stoppedBySignal_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<int>>("signalsSent");
        QTest::addColumn<QString>("said"); // {n}: the number of words the switch took
        QTest::newRow("write, SIGINT")
            << "write" << QList<int>{SIGINT}
            << "Stopped by SIGINT after {n} of 384 words were written. The switch was not reset: "
               "it keeps running its old configuration until it restarts, and its EEPROMs hold "
               "part of the new one. Write it again.\n";
        QTest::newRow("write, SIGHUP, then SIGTERM")
            << "write" << QList<int>{SIGHUP, SIGTERM} << "Stopped by SIGHUP after {n} of 384";
        QTest::newRow("write --json, SIGINT: the summary")
            << "write --json" << QList<int>{SIGINT} << "Stopped by SIGINT after {n} of 384";
        QTest::newRow("changed only, SIGTERM") << "write --changed-only" << QList<int>{SIGTERM}
                                               << "Stopped by SIGTERM after {n} of 324";
        QTest::newRow("read, SIGHUP")
            << "read" << QList<int>{SIGHUP}
            << "Stopped by SIGHUP: nothing was saved, {file} is as it was. The switch was only "
               "read.\n";
    }
    void stoppedBySignal()
    {
        QFETCH(QString, command);
        QFETCH(QList<int>, signalsSent);
        QFETCH(QString, said);
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "0", "--pace"}), qPrintable(sim.errorString()));
        const QString file = QDir(sim.folder()).filePath("file.bin");
        ImageWords image = factoryImage(0);
        for (int w = 20; command.contains("changed") && w < 128; ++w)
            image[0][w] ^= 1, image[1][w] ^= 1, image[2][w] ^= 1;
        QVERIFY(putFile(file, BinFile::encode(image, 0)));
        const auto settings = [&sim] {
            termios line{};
            const int fd = open(qPrintable(sim.ptyPath()), O_RDONLY | O_NOCTTY | O_NONBLOCK);
            tcgetattr(fd, &line);
            close(fd);
            return QByteArray(reinterpret_cast<const char *>(&line), sizeof line);
        };
        const QByteArray before = settings();
        QProcess ctl;
        QStringList arguments =
            command.split(' ') + QStringList{"--model", "24", "--port", sim.ptyPath(), file};
        if (command == "read")
            arguments.insert(5, "-o");
        ctl.start(SWCFGCTL_PATH, arguments);
        // Well into the transfer: words written, or the second device being read.
        QVERIFY(SimProcess::waitFor([&] {
            return command == "read" ? sim.logLines().filter("read 1 0").size() == 1
                                     : sim.logLines().filter("write").size() >= 20;
        }));
        for (const int signal : signalsSent)
            QVERIFY(kill(ctl.processId(), signal) == 0);
        QVERIFY(ctl.waitForFinished(30000));

        const int written = sim.logLines().filter("write").size();
        QCOMPARE(ctl.exitCode(), 128 + signalsSent.first());
        QCOMPARE(ctl.readAllStandardOutput().contains(R"("outcome": "stopped")"),
                 command.contains("--json"));
        const QString err = ctl.readAllStandardError();
        QVERIFY2(
            err.startsWith(said.replace("{n}", QString::number(written)).replace("{file}", file)),
            qPrintable(err));
        QVERIFY(!sim.logLines().contains("reset"));
        QCOMPARE(fileBytes(file), BinFile::encode(image, 0));
        QCOMPARE(settings(), before);
        const QString lock = "LCK..*" + sim.ptyPath().section('/', -2).replace('/', '_');
        QVERIFY(QDir("/run/lock").entryList({lock}).isEmpty());
    }

    // Several ports at once, a simulator each: every port ends with its own status and messages
    // (led by its short name; in the JSON summary with each reason, {pty} its terminal, * any
    // text), read saves each switch to its own {port} file, write sends every word to each switch
    // and resets those that verified; the exit status is the highest of any port. "text": no
    // --json, the file from standard input.
    void severalPorts_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("faults"); // one simulator each
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<QStringList>("messages"); // each port's, one a line
        QTest::newRow("read, all succeed")
            << "read" << QStringList{"", ""} << QList<int>{0, 0} << QStringList{"", ""};
        QTest::newRow("read, one lacks a device")
            << "read" << QStringList{"", "--missing 1", ""} << QList<int>{0, 3, 0}
            << QStringList{"", "Device 1 Not Found !", ""};
        QTest::newRow("write, one lacks a device, one vanishes while written")
            << "write" << QStringList{"--missing 2", "--vanish-after 382", ""}
            << QList<int>{3, 4, 0}
            << QStringList{"Device 2 Not Found !",
                           "COM Port Open Error !\n{pty}: *\nEEPROM writing "
                           "error ! Please write once again ! ",
                           ""};
        QTest::newRow("write, text")
            << "write text" << QStringList{"", ""} << QList<int>{0, 0} << QStringList{"", ""};
    }
    void severalPorts()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, faults);
        QFETCH(QList<int>, statuses);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        QVERIFY(putFile(dir.filePath("in.bin"), BinFile::encode(factoryImage(0), 0)));
        std::vector<std::unique_ptr<SimProcess>> sims;
        const bool json = !command.endsWith(" text");
        command = command.section(' ', 0, 0);
        QStringList arguments{command, "--model", "24"};
        if (json)
            arguments << "--json";
        for (const QString &fault : faults) {
            sims.push_back(std::make_unique<SimProcess>());
            QVERIFY2(sims.back()->start(("--model 0 " + fault).split(' ', Qt::SkipEmptyParts)),
                     qPrintable(sims.back()->errorString()));
            arguments << "--port" << sims.back()->ptyPath();
        }
        arguments << (command == "read" ? QStringList{"-o", dir.filePath("sw-{port}.bin")}
                      : json            ? QStringList{dir.filePath("in.bin")}
                                        : QStringList{"-", "<" + dir.filePath("in.bin")});

        const QStringList run = runCtl(arguments).split('|');
        QCOMPARE(run.value(0).toInt(), *std::max_element(statuses.begin(), statuses.end()));
        const QJsonArray summary = QJsonDocument::fromJson(run.value(1).toUtf8()).array();
        QCOMPARE(summary.size(), json ? int(sims.size()) : 0);
        for (int i = 0; i < int(sims.size()); ++i) {
            const QString name = "pts" + QFileInfo(sims[i]->ptyPath()).fileName();
            const QString said = messages[i].replace("{pty}", sims[i]->ptyPath());
            if (json) {
                const QJsonObject port = summary[i].toObject();
                QCOMPARE(port["name"].toString(), name);
                QCOMPARE(port["status"].toInt(), statuses[i]);
                const QStringList outcomes{"done", "", "", "switch unavailable", "transfer failed"};
                QCOMPARE(port["outcome"].toString(), outcomes.value(statuses[i]));
                const QString all = port["messages"].toVariant().toStringList().join('\n');
                QVERIFY2(said.contains('*') ? all.startsWith(said.section('*', 0, 0)) &&
                                                  all.endsWith(said.section('*', 1))
                                            : all == said,
                         qPrintable(all));
            }
            // Its row in the summary table.
            QVERIFY(run.value(2).contains(QRegularExpression(
                QString("^%1 +[a-z ]+ +%2 +\\d+\\.\\d\\d$").arg(name).arg(statuses[i]),
                QRegularExpression::MultilineOption)));
            if (statuses[i] != 0)
                QVERIFY(run.value(2).contains(name + ": " + said.section('\n', 0, 0) + '\n'));
            if (command == "read") {
                QCOMPARE(fileBytes(dir.filePath("sw-" + name + ".bin")),
                         statuses[i] == 0 ? fileBytes(sims[i]->statePath()) : QByteArray());
                continue;
            }
            QVERIFY(statuses[i] != 0 ||
                    SimProcess::waitFor([&] { return sims[i]->logLines().contains("reset"); }));
            QCOMPARE(sims[i]->logLines().contains("reset"), statuses[i] == 0);
            if (statuses[i] == 0) // every word went to this switch
                QCOMPARE(sims[i]->logLines().filter(QRegularExpression("^write ")).size(), 384);
        }
    }
};

SWCFG_TEST_CLASS(SwcfgctlRunTest)
#include "swcfgctl_run_test.moc"
