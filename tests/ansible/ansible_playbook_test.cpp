#include "launcher/ser2net_process.h"
#include "launcher/sim_process.h"
#include "support/files.h"
#include "support/test_main.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace
{

// A switch of the inventory: a simulated 24-port 1000Base-SX switch, on its terminal or behind
// ser2net.
struct Switch {
    SimProcess sim;
    Ser2netProcess server;
    bool served = false;
    qsizetype seen = 0; // its log's lines before the last run

    QString port() const { return served ? server.portName() : sim.ptyPath(); }
    // What the last run did to it: devices read whole, whether words were written, resets.
    QString sent() const
    {
        const QStringList log = sim.logLines().mid(seen);
        return QStringLiteral("read %1, %2, reset %3")
            .arg(log.filter(QRegularExpression("^read \\d 0 000 256$")).size())
            .arg(log.filter(QRegularExpression("^write ")).isEmpty() ? "unwritten" : "written")
            .arg(log.count("reset"));
    }
};

// A folder of the test's own with the integration playbooks and an inventory of the switches
// ("sw1", "sw2", ...), where ansible-playbook runs.
struct Site {
    QTemporaryDir dir;
    std::vector<std::unique_ptr<Switch>> switches;

    // A switch per entry: "raw" or "rfc2217" behind ser2net, else on its terminal with those
    // simulator options. An error message, or nothing.
    QString start(const QStringList &kinds)
    {
        const QDir source(SWCFG_ANSIBLE_INTEGRATION);
        for (const QString &playbook : source.entryList({"*.yml"}))
            QFile::copy(source.filePath(playbook), dir.filePath(playbook));
        QString hosts;
        for (const QString &kind : kinds) {
            switches.push_back(std::make_unique<Switch>());
            Switch &sw = *switches.back();
            sw.served = kind == "raw" || kind == "rfc2217";
            const QStringList faults =
                sw.served ? QStringList() : kind.split(' ', Qt::SkipEmptyParts);
            if (!sw.sim.start(QStringList{"--model", "24sx"} + faults))
                return sw.sim.errorString();
            const auto mode =
                kind == "raw" ? Ser2netProcess::Mode::RawTcp : Ser2netProcess::Mode::ComPortControl;
            if (sw.served && !sw.server.start(sw.sim.ptyPath(), mode))
                return sw.server.errorString();
            hosts +=
                QString("    sw%1: {swcfg_port: \"%2\"}\n").arg(switches.size()).arg(sw.port());
        }
        putFile(dir.filePath("inventory.yml"),
                ("switches:\n  hosts:\n" + hosts +
                 "  vars: {ansible_connection: local, swcfg_model: 24sx,\n"
                 "         ansible_python_interpreter: \"{{ ansible_playbook_python }}\"}\n")
                    .toUtf8());
        return QString();
    }

    // ansible-playbook ARGUMENTS...: "<exit status>|<output>".
    QString run(const QStringList &arguments)
    {
        for (const std::unique_ptr<Switch> &sw : switches)
            sw->seen = sw->sim.logLines().size();
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ANSIBLE_COLLECTIONS_PATH", SWCFG_COLLECTIONS_PATH);
        environment.insert("PATH",
                           QFileInfo(SWCFGCTL_PATH).path() + ':' + environment.value("PATH"));
        environment.insert("ANSIBLE_NOCOLOR", "1");
        environment.insert("ANSIBLE_LOCAL_TEMP", dir.filePath(".ansible"));
        environment.insert("ANSIBLE_CONFIG", dir.filePath("none.cfg"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(SWCFG_ANSIBLE_PLAYBOOK, QStringList{"-i", "inventory.yml"} + arguments);
        // Generous: a run takes seconds, on a loaded machine many more.
        if (!process.waitForFinished(100000))
            return "ansible-playbook did not finish";
        return QString::number(process.exitCode()) + '|' + process.readAllStandardOutput();
    }

    // The host's counts in the recap of `output`: "ok=2 changed=1 failed=0 ignored=0".
    static QString recap(const QString &output, const QString &host)
    {
        const QRegularExpressionMatch line =
            QRegularExpression("^" + host +
                                   " +: (ok=\\d+) +(changed=\\d+) .*(failed=\\d+) .*(ignored=\\d+)",
                               QRegularExpression::MultilineOption)
                .match(output);
        return QStringList{line.captured(1), line.captured(2), line.captured(3), line.captured(4)}
            .join(' ');
    }

    // Each switch's recap and what it was sent, once it was sent the resets `expected` says.
    QString outcome(const QString &output, const QString &expected) const
    {
        QStringList said;
        for (int i = 0; i < int(switches.size()); ++i) {
            const Switch &sw = *switches[std::size_t(i)];
            const QString resets = expected.section('\n', i, i).section(", ", -1);
            SimProcess::waitFor([&] { return sw.sent().endsWith(resets); }, 3000);
            const QString host = QString("sw%1").arg(i + 1);
            said << host + ": " + recap(output, host) + ", " + sw.sent();
        }
        return said.join('\n');
    }
};

} // namespace

// The collection swcfg.switch through ansible-playbook against simulated switches, some behind a
// real console server (ser2net on 127.0.0.1): what each run changes, backs up and leaves alone,
// as the simulators' logs tell.
class AnsiblePlaybookTest : public QObject
{
    Q_OBJECT

private slots:
    // The first run writes and resets every switch once and backs up what it held beside the
    // playbook; a check run one setting further reports each changed, shows the setting and only
    // reads; a second run changes nothing with one read; the facts show what was written; the
    // first backups, written back, make the switches what they were.
    void converge()
    {
        Site site;
        QCOMPARE(site.start({"", "raw", "rfc2217"}), QString());
        std::vector<QByteArray> held;
        for (const auto &sw : site.switches)
            held.push_back(fileBytes(sw->sim.statePath()));
        const auto each = [](const QString &line) {
            return QString("sw1: %1\nsw2: %1\nsw3: %1").arg(line);
        };

        QString run = site.run({"converge.yml"});
        QString expected = each("ok=2 changed=1 failed=0 ignored=0, read 8, written, reset 1");
        QCOMPARE(site.outcome(run, expected), expected);
        const QStringList backups = QDir(site.dir.filePath("backup")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 3);
        for (std::size_t i = 0; i < held.size(); ++i) {
            QVERIFY2(QRegularExpression(
                         QString("^sw%1_config\\.\\d{4}-\\d\\d-\\d\\d@\\d\\d:\\d\\d:\\d\\d\\.bin$")
                             .arg(i + 1))
                         .match(backups[int(i)])
                         .hasMatch(),
                     qPrintable(backups.join(' ')));
            QCOMPARE(fileBytes(site.dir.filePath("backup/" + backups[int(i)])), held[i]);
        }

        run = site.run({"converge.yml", "--check", "--diff", "-e", R"({"flow_control_7": false})"});
        expected = each("ok=2 changed=1 failed=0 ignored=0, read 4, unwritten, reset 0");
        QCOMPARE(site.outcome(run, expected), expected);
        for (const char *line : {"^-   7  off       on        on             on ",
                                 "^\\+   7  off       on        on             off "})
            QCOMPARE(run.count(QRegularExpression(line, QRegularExpression::MultilineOption)), 3);

        run = site.run({"converge.yml"});
        expected = each("ok=2 changed=0 failed=0 ignored=0, read 4, unwritten, reset 0");
        QCOMPARE(site.outcome(run, expected), expected);

        QVERIFY2(site.run({"facts.yml"}).startsWith("0|"), "facts.yml");
        QVERIFY2(site.run({"restore.yml"}).startsWith("0|"), "restore.yml");
        for (std::size_t i = 0; i < held.size(); ++i)
            QCOMPARE(fileBytes(site.switches[i]->sim.statePath()), held[i]);
    }

    // A switch that lacks a device fails alone with swcfgctl's message and status, unwritten;
    // the others converge. Bad input fails each task with a technician's message (refusals.yml
    // says which), and nothing reaches the switch.
    void failures_data()
    {
        QTest::addColumn<QStringList>("switches");
        QTest::addColumn<QString>("playbook");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("a switch lacks a device")
            << QStringList{"raw", "--missing 1", ""} << "converge.yml"
            << R"(2|"msg": "Device 1 Not Found !", "rc": 3)"
            << "sw1: ok=2 changed=1 failed=0 ignored=0, read 8, written, reset 1\n"
               "sw2: ok=0 changed=0 failed=1 ignored=0, read 0, unwritten, reset 0\n"
               "sw3: ok=2 changed=1 failed=0 ignored=0, read 8, written, reset 1";
        QTest::newRow("bad input") << QStringList{""} << "refusals.yml"
                                   << "0|"
                                   << "sw1: ok=11 changed=0 failed=0 ignored=9, read 0, "
                                      "unwritten, reset 0";
    }
    void failures()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, playbook);
        QFETCH(QString, said);
        QFETCH(QString, outcome);
        Site site;
        QCOMPARE(site.start(switches), QString());
        const QString run = site.run({playbook});
        QVERIFY2(run.startsWith(said.section('|', 0, 0) + '|') &&
                     run.contains(said.section('|', 1)),
                 qPrintable(run));
        QCOMPARE(site.outcome(run, outcome), outcome);
        QCOMPARE(site.switches.front()->sim.logLines().isEmpty(), playbook == "refusals.yml");
    }
};

SWCFG_TEST_CLASS(AnsiblePlaybookTest)
#include "ansible_playbook_test.moc"
