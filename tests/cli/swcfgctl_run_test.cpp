#include "image/bin_file.h"
#include "image/device_models.h"
#include "launcher/sim_process.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <sys/resource.h>

#include <csignal>
#include <functional>

namespace
{

// Far beyond what a command needs against the simulator, even on a loaded machine.
constexpr int kRunTimeoutMs = 120000;

struct CtlRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CtlRun runCtl(const QStringList &arguments,
              const std::function<void()> &inChild = std::function<void()>())
{
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(QStringLiteral(SWCFGCTL_PATH), arguments);
    CtlRun run;
    if (!process.waitForFinished(kRunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("swcfgctl did not finish");
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class SwcfgctlRunTest : public QObject
{
    Q_OBJECT

private slots:
    // Read saves the switch's EEPROMs byte for byte; write leaves the switch holding the file,
    // and resets it once to take it.
    void readAndWrite_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("24") << 0;
        QTest::newRow("24sx") << 1;
        QTest::newRow("32") << 2;
    }
    void readAndWrite()
    {
        QFETCH(int, model);
        const QString modelArgument = QStringList{"24", "24sx", "32"}.at(model);
        SimProcess sim;
        QVERIFY2(sim.start({"--model", QString::number(model)}), qPrintable(sim.errorString()));
        const QDir dir(sim.folder());

        CtlRun run = runCtl({"read", "--model", modelArgument, "--port", sim.ptyPath(), "-o",
                             dir.filePath("read.bin")});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QString());
        QCOMPARE(run.exitCode, 0);
        const QByteArray saved = readAll(dir.filePath("read.bin"));
        QCOMPARE(saved.size(), model == 0 ? 768 : 1024);
        QCOMPARE(saved, readAll(sim.statePath()));

        const ImageWords image = TestImages::validImage(model);
        QVERIFY(writeAll(dir.filePath("write.bin"), BinFile::encode(image, model)));
        run = runCtl({"write", "--model", modelArgument, "--port", sim.ptyPath(),
                      dir.filePath("write.bin")});
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        QCOMPARE(sim.logLines().count("reset"), 1);
        QCOMPARE(sim.logLines().last(), QString("reset"));
        const std::optional<ImageWords> state = sim.stateImage();
        QVERIFY(state);
        for (int d = 0; d < deviceCountOf(model); ++d)
            QCOMPARE((*state)[d], image[d]);
    }

    // One row per way the command can fail: exit status, what it says, and what it leaves alone.
    // In the arguments, {pty} is the simulator's terminal and {dir} its folder. A read's output
    // starts as "old" and must still be "old" after a failure; a failed write never resets.
    void faults_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<bool>("file32"); // a valid 32-port file in {dir}/in.bin
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrText"); // all of it when it ends a line, else its start
        QTest::addColumn<bool>("switchUntouched");
        const auto row = [](const char *name, const QString &sim, bool file32,
                            const QString &arguments, int exitCode, const QString &stderrText,
                            bool switchUntouched) {
            QTest::newRow(name) << sim.split(' ') << file32 << arguments.split(' ') << exitCode
                                << stderrText << switchUntouched;
        };
        const QString read = "read --model 24sx --port {pty} -o {dir}/out.bin";
        const QString write = "write --model 32 --port {pty} {dir}/in.bin";

        row("1: bad model", "--model 1", false, "read --model 48 --port {pty} -o {dir}/out.bin", 1,
            "swcfgctl: bad model '48'", true);
        row("2: a file of another model", "--model 0", true,
            "write --model 24 --port {pty} {dir}/in.bin", 2,
            " Error ! This is not 24-Port Binary File ! \n", true);
        row("2: output folder missing", "--model 1", false,
            "read --model 24sx --port {pty} -o {dir}/missing/out.bin", 2,
            "File Save Error ! The file was not changed.\n{dir}/missing/out.bin: ", true);
        row("3: no such port", "--model 1", false,
            "read --model 24sx --port {dir}/ttyNONE -o {dir}/out.bin", 3,
            "COM Port Open Error !\n{dir}/ttyNONE: No such file or directory\n", true);
        row("3: device 1 missing", "--model 1 --missing 1", false, read, 3,
            "Device 1 Not Found !\n", false);
        row("4: EEPROM 2 unreadable twice", "--model 1 --read-fault 2:nonhex:2", false, read, 4,
            "EEPROM 2 Reading Fail !\n", false);
        row("4: a word of device 1 keeps another value", "--model 2 --corrupt-word 1:40", true,
            write, 4,
            "Device 1 EEPROM Writing Error !\nEEPROM writing error ! Please write once again ! \n",
            false);
    }
    void faults()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(bool, file32);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrText);
        QFETCH(bool, switchUntouched);

        SimProcess sim;
        QVERIFY2(sim.start(simArguments), qPrintable(sim.errorString()));
        const QDir dir(sim.folder());
        if (file32)
            QVERIFY(writeAll(dir.filePath("in.bin"),
                             BinFile::encode(TestImages::validImage(Model32NWay), Model32NWay)));
        QVERIFY(writeAll(dir.filePath("out.bin"), "old"));
        for (QString &argument : arguments)
            argument.replace("{pty}", sim.ptyPath()).replace("{dir}", sim.folder());
        stderrText.replace("{dir}", sim.folder());

        const CtlRun run = runCtl(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, QString());
        if (stderrText.endsWith('\n'))
            QCOMPARE(run.err, stderrText);
        else
            QVERIFY2(run.err.startsWith(stderrText), qPrintable(run.err));

        QCOMPARE(readAll(dir.filePath("out.bin")), QByteArray("old"));
        // swcfgctl has ended, so whatever it sent has reached the simulator's log by now or was
        // never sent.
        const QStringList log = sim.logLines();
        QVERIFY2(!log.contains("reset"), qPrintable(log.join('\n')));
        if (switchUntouched)
            QVERIFY2(log.isEmpty(), qPrintable(log.join('\n')));
    }

    // The switch was read, but the disk refuses the file: the old file stays as it was.
    void saveFailsAfterRead()
    {
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "2"}), qPrintable(sim.errorString()));
        const QString output = QDir(sim.folder()).filePath("out.bin");
        QVERIFY(writeAll(output, "old"));

        // Any write beyond 100 bytes fails in swcfgctl alone.
        const CtlRun run =
            runCtl({"read", "--model", "32", "--port", sim.ptyPath(), "-o", output}, [] {
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{100, 100};
                setrlimit(RLIMIT_FSIZE, &limit);
            });
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("File Save Error ! The file was not changed.\n" + output),
                 qPrintable(run.err));
        QVERIFY(sim.logLines().contains("read 3 0 000 256"));
        QCOMPARE(readAll(output), QByteArray("old"));
        QVERIFY(QDir(sim.folder()).entryList({"out.bin*"}, QDir::Files).size() == 1);
    }

    // Help is the one thing on standard output.
    void help()
    {
        const CtlRun run = runCtl({"write", "--help"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QVERIFY(run.out.startsWith("Usage: swcfgctl write "));
    }
};

SWCFG_TEST_CLASS(SwcfgctlRunTest)
#include "swcfgctl_run_test.moc"
