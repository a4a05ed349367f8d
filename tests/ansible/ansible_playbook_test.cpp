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
// (sw1, sw2, ...), where ansible-playbook runs.
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
            Switch &sw = *switches.emplace_back(std::make_unique<Switch>());
            sw.served = kind == "raw" || kind == "rfc2217";
            if (!sw.sim.start(QStringList{"--model", "24sx"} +
                              (sw.served ? QStringList() : kind.split(' ', Qt::SkipEmptyParts))))
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

    // ansible-playbook ARGUMENTS...: "<exit status>|<output>", once every switch that was to be
    // reset (as `sent` says, one line per switch) has been.
    QString run(const QStringList &arguments, const QString &sent)
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
        for (int i = 0; i < int(switches.size()); ++i) {
            const QString resets = sent.section('\n', i, i).section(", ", -1);
            SimProcess::waitFor([&] { return switches[std::size_t(i)]->sent().endsWith(resets); },
                                3000);
        }
        return QString::number(process.exitCode()) + '|' + process.readAllStandardOutput();
    }

    QString sent() const
    {
        QStringList lines;
        for (const std::unique_ptr<Switch> &sw : switches)
            lines << sw->sent();
        return lines.join('\n');
    }
};

} // namespace

// The collection swcfg.switch through ansible-playbook against simulated switches, some behind a
// real console server (ser2net on 127.0.0.1); the playbooks assert on what the modules return,
// the simulators' logs tell what reached each switch.
class AnsiblePlaybookTest : public QObject
{
    Q_OBJECT

private slots:
    // The first run writes and resets every switch once and backs up what it held; a check run
    // one setting further reports each changed and shows the setting, only reading; a second run
    // changes nothing with one read; the facts show what was written; the first backups, written
    // back, make the switches what they were.
    void converge()
    {
        Site site;
        QCOMPARE(site.start({"", "raw", "rfc2217"}), QString());
        std::vector<QByteArray> held;
        for (const auto &sw : site.switches)
            held.push_back(fileBytes(sw->sim.statePath()));
        const QString written = "read 8, written, reset 1\nread 8, written, reset 1\n"
                                "read 8, written, reset 1";
        const QString read = "read 4, unwritten, reset 0\nread 4, unwritten, reset 0\n"
                             "read 4, unwritten, reset 0";
        const std::pair<QStringList, QString> runs[] = {
            {{"converge.yml"}, written},
            {{"converge.yml", "--check", "--diff", "-e", R"({"flow_control_7": false})"}, read},
            {{"converge.yml", "-e", R"({"unchanged": true})"}, read},
            {{"facts.yml"}, read},
            {{"restore.yml"}, written},
        };
        for (const auto &[arguments, sent] : runs) {
            const QString run = site.run(arguments, sent);
            QVERIFY2(run.startsWith("0|"), qPrintable(run));
            QCOMPARE(site.sent(), sent);
        }
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
        QTest::addColumn<QString>("sent");
        QTest::newRow("a switch lacks a device")
            << QStringList{"raw", "--missing 1", ""} << "converge.yml"
            << R"(2|"msg": "Device 1 Not Found !", "rc": 3)"
            << "read 8, written, reset 1\nread 0, unwritten, reset 0\nread 8, written, reset 1";
        QTest::newRow("bad input") << QStringList{""} << "refusals.yml"
                                   << "0|" << QString();
    }
    void failures()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, playbook);
        QFETCH(QString, said);
        QFETCH(QString, sent);
        Site site;
        QCOMPARE(site.start(switches), QString());
        const QString run = site.run({playbook}, sent);
        QVERIFY2(run.startsWith(said.section('|', 0, 0) + '|') &&
                     run.contains(said.section('|', 1)),
                 qPrintable(run));
        if (sent.isEmpty())
            QCOMPARE(site.switches.front()->sim.logLines(), QStringList());
        else
            QCOMPARE(site.sent(), sent);
    }
};

SWCFG_TEST_CLASS(AnsiblePlaybookTest)
#include "ansible_playbook_test.moc"
