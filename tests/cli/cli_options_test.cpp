#include "cli_options.h"
#include "ports_command.h"
#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class CliOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    // The machine running the tests may redirect ports of its own; COM3 and COM4 are redirected
    // here.
    void init()
    {
        for (int n = 1; n <= 8; ++n)
            qunsetenv(qPrintable(QStringLiteral("SWCFG_COM%1").arg(n)));
        qputenv("SWCFG_COM3", "/dev/pts/7");
        qputenv("SWCFG_COM4", "./sim/tty");
    }
    void cleanup()
    {
        qunsetenv("SWCFG_COM3");
        qunsetenv("SWCFG_COM4");
    }

    // What a command line comes to: the command, model, device and file; or the hint and the
    // start of the error; or the start of the help asked for. A relative device path is meant
    // from the current folder ({cwd}); a name without a folder is one under /dev.
    void commandLines_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("result");
        const auto row = [](const char *arguments, const char *result) {
            QTest::newRow(arguments) << QString(arguments) << QString(result);
        };
        row("read -m 24SX -p com1 -o f", "read 1 /dev/ttyS0 f");
        row("read --output=o.bin --port=/dev/x --model=32", "read 2 /dev/x o.bin");
        row("write in.bin -p COM8 -m 1", "write 1 /dev/ttyS7 in.bin");
        row("write -m 0 -p cOm3 -- -x.bin", "write 0 /dev/pts/7 -x.bin");
        row("write -m 0 -p COM4 f", "write 0 {cwd}/sim/tty f");
        row("write -m 0 -p run/COM1 f", "write 0 {cwd}/run/COM1 f");
        row("read -m 2 -p ttyUSB0 -o f", "read 2 ttyUSB0 f");
        row("read -m 3 -p /dev/x -o f", "Try 'swcfgctl read --help'. bad model '3'");
        row("write --model= -p /dev/x f", "Try 'swcfgctl write --help'. bad model ''");
        row("write -m 24 -p COM0 f", "Try 'swcfgctl write --help'. bad port 'COM0'");
        row("write -m 24 -p com9 f", "Try 'swcfgctl write --help'. bad port 'com9'");
        row("write -m 24 --port= f", "Try 'swcfgctl write --help'. bad port ''");
        // Console servers' ports: the scheme in any case, HOST:PORT and nothing else; a password
        // is never repeated.
        row("read -m 1 -p TCP://h:1 -o f", "read 1 TCP://h:1 f");
        row("read -m 1 -p Rfc2217://10.0.0.9:4001/ -o f", "read 1 Rfc2217://10.0.0.9:4001/ f");
        row("write -m 24 -p tcp://h:1/x f",
            "Try 'swcfgctl write --help'. bad port 'tcp://h:1/x': nothing may follow HOST:PORT");
        row("write -m 24 -p tcp://h: f",
            "Try 'swcfgctl write --help'. bad port 'tcp://h:': the port must be a number from 1");
        row("write -m 24 -p tcp://h:p/ f",
            "Try 'swcfgctl write --help'. bad port 'tcp://h:p/': the port must be a number");
        row("write -m 24 -p tcp://h:70000 f",
            "Try 'swcfgctl write --help'. bad port 'tcp://h:70000': the port must be a number");
        row("write -m 24 -p rfc2217://:1 f",
            "Try 'swcfgctl write --help'. bad port 'rfc2217://:1': no host before the port");
        row("write -m 24 -p tcp://user:pw@host:1 f",
            "Try 'swcfgctl write --help'. bad port 'tcp://...@host:1': a user name or password");
        row("", "Try 'swcfgctl --help'. no command given");
        row("erase", "Try 'swcfgctl --help'. unknown command 'erase'");
        row("--model 24 read", "Try 'swcfgctl --help'. '--model' before the command");
        row("read -p /dev/x -o f", "Try 'swcfgctl read --help'. missing --model M");
        row("read -m 24 -o f", "Try 'swcfgctl read --help'. missing --port P");
        row("read -m 24 -p /dev/x --output=", "Try 'swcfgctl read --help'. missing -o FILE.bin");
        row("read -m 24 -p /dev/x -o f g", "Try 'swcfgctl read --help'. unexpected argument(s): g");
        row("write -m 24 -p /dev/x", "Try 'swcfgctl write --help'. missing FILE.bin");
        row("write -m 24 -p /dev/x -o f", "Try 'swcfgctl write --help'. Unknown option 'o'");
        row("read -m 24 -m 32 -p /dev/x -o f", "Try 'swcfgctl read --help'. --model given more");
        // Several ports run at once, each read to a file of its own.
        row("read -m 24 -p /dev/pts/7,COM4 -p x -o sw-{port}.bin",
            "read 0 /dev/pts/7 sw-{port}.bin");
        row("read -m 24 -p /dev/pts/7 -o sw-{port}.bin", "read 0 /dev/pts/7 sw-pts7.bin");
        row("read -m 24 -p /dev/x,/dev/y -o f",
            "Try 'swcfgctl read --help'. -o f would hold every");
        row("write -m 24 -p /dev/x -p COM3 -p /dev/x f",
            "Try 'swcfgctl write --help'. port '/dev/x' given twice");
        row("write -m 24 -p /a/tty -p /b/tty f",
            "Try 'swcfgctl write --help'. ports '/a/tty' and '/b/tty' have the same short name");
        row("write -m 24 -p /dev/x, f", "Try 'swcfgctl write --help'. bad port ''");
        // One switch under two names, or one file for two: compared where the names lead.
        row("write -m 24 -p /dev/pts/7 -p COM3 f",
            "Try 'swcfgctl write --help'. ports '/dev/pts/7' and 'COM3' are the same device, "
            "/dev/pts/7");
        row("write -m 24 -p /proc/self/root/dev/null,/dev/null f",
            "Try 'swcfgctl write --help'. ports '/proc/self/root/dev/null' and '/dev/null' are the "
            "same device, /dev/null");
        row("write -m 24 -p ttyS1,COM2 f", "Try 'swcfgctl write --help'. ports 'ttyS1' and 'COM2' "
                                           "are the same device, /dev/ttyS1");
        row("write -m 24 -p tcp://H:1,rfc2217://h:1/ f",
            "Try 'swcfgctl write --help'. ports 'tcp://H:1' and 'rfc2217://h:1/' are the same");
        row("read -m 24 -p COM1,COM2 -o /d/{port}/../s.bin",
            "Try 'swcfgctl read --help'. -o /d/{port}/../s.bin gives ports 'COM1' and 'COM2' the "
            "same file, /d/s.bin");
        row("diff - -", "Try 'swcfgctl diff --help'. standard input holds one file or document");
        row("read -m 24 -p /dev/x --json -o -",
            "Try 'swcfgctl read --help'. -o - and --json would both write to standard output");
        // A changed-only write of a document, backed up or only compared.
        row("write -m 24 -p /dev/pts/7 --changed-only -c - --backup b-{port}.bin --dry-run",
            "write 0 /dev/pts/7  config - backup b-pts7.bin dry run");
        row("write -m 24 -p /dev/x --backup b.bin f",
            "Try 'swcfgctl write --help'. --backup needs --changed-only");
        row("write -m 24 -p /dev/x --changed-only -c c.json f",
            "Try 'swcfgctl write --help'. f and --config both say what to write");
        row("write -m 24 -p /dev/x,/dev/y --changed-only --backup b.bin f",
            "Try 'swcfgctl write --help'. --backup b.bin would hold every port's image");
        row("help", "help: Usage: swcfgctl read  --model M");
        // Help wins over whatever else is wrong on the line.
        row("write --model 99 --help", "help: Usage: swcfgctl write --model M");
    }
    void commandLines()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, result);
        result.replace("{cwd}", QDir::currentPath());
        const ParsedCommandLine parsed =
            parseCommandLine(QStringList{"swcfgctl"} + arguments.split(' ', Qt::SkipEmptyParts));
        QString got = parsed.hint + ' ' + parsed.error;
        if (parsed.helpRequested) {
            got = "help: " + parsed.helpText;
        } else if (const std::optional<CliOptions> &o = parsed.options) {
            QStringList parts{o->command == CliCommand::Read ? "read" : "write",
                              QString::number(o->model), o->device, o->filePath};
            if (!o->configPath.isEmpty())
                parts << "config" << o->configPath;
            if (!o->backupPath.isEmpty())
                parts << "backup" << o->backupPath;
            if (o->dryRun)
                parts << "dry run";
            got = parts.join(' ');
        }
        QVERIFY2(parsed.options ? got == result : got.startsWith(result), qPrintable(got));
    }

    // A port given by the name of a listed device opens that device's location, on every port
    // of the line; the system is asked once.
    void listedDevicesOnEveryPort()
    {
        int asked = 0;
        const SerialDeviceCatalogue listed = [&asked] {
            ++asked;
            return std::vector<SerialDeviceInfo>{{"ttyUSB0", "/dev/serial/a"},
                                                 {"ttyUSB1", "/dev/serial/b"}};
        };
        const ParsedCommandLine parsed =
            parseCommandLine({"swcfgctl", "read", "-m", "24", "-p", "ttyUSB1,COM1", "-p", "ttyUSB0",
                              "-o", "{port}"});
        QVERIFY(parsed.options);
        const CliOptions options = withListedDevices(*parsed.options, listed);
        QCOMPARE(options.devices, QStringList({"/dev/serial/b", "/dev/ttyS0", "/dev/serial/a"}));
        QCOMPARE(options.device, "/dev/serial/b");
        QCOMPARE(asked, 1);
    }

    // Whatever the help names, the manual page has: each command a subsection of its own, each
    // option (long or short) and each kind of network port as a word of its text.
    void manualPageHasWhatHelpNames()
    {
        QFile file(QStringLiteral(SWCFGCTL_MANUAL_PAGE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll())
                                 .remove(QRegularExpression("\\\\f[BIRP]"))
                                 .replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const auto has = [&page](const QString &pattern) {
            return page.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption));
        };
        const QString mainHelp = parseCommandLine({"swcfgctl", "--help"}).helpText;
        QString help = mainHelp;
        QStringList missing;
        const QString commands = mainHelp.section("Commands:\n", 1).section("\n\n", 0, 0);
        for (const auto &command :
             QRegularExpression("^  (\\w+)", QRegularExpression::MultilineOption)
                 .globalMatch(commands)) {
            help += parseCommandLine({"swcfgctl", command.captured(1), "--help"}).helpText;
            if (!has("^\\.SS \"?" + command.captured(1) + "\\b"))
                missing << command.captured(1);
        }
        QVERIFY(help.size() > mainHelp.size()); // the commands were found
        for (const auto &option :
             QRegularExpression("(?<![\\w-])--?[a-z][\\w-]*|\\b\\w+://").globalMatch(help)) {
            if (!has("(?<![\\w-])" + option.captured() + "(?![\\w-])"))
                missing << option.captured();
        }
        missing.removeDuplicates();
        QVERIFY2(missing.isEmpty(), qPrintable("not in swcfgctl(1): " + missing.join(' ')));
    }
};

SWCFG_TEST_CLASS(CliOptionsTest)
#include "cli_options_test.moc"
