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

// A simulated 24-port 1000Base-SX switch of the inventory, on its terminal or behind ser2net.
struct Switch {
    SimProcess sim;
    Ser2netProcess server;
    qsizetype seen = 0; // its log's lines before the last run

    // What the last run sent it: devices read whole, whether words were written, resets.
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
    QString output; // of the last run

    // A switch per entry: "raw" or "rfc2217" behind ser2net, else on its terminal with those
    // simulator options. An error message, or nothing.
    QString start(const QStringList &kinds)
    {
        const QDir source(SWCFG_ANSIBLE_INTEGRATION);
        for (const QString &playbook : source.entryList({"*.yml"}))
            QFile::copy(source.filePath(playbook), dir.filePath(playbook));
        QString inventory = "switches:\n  vars: {ansible_connection: local, swcfg_model: 24sx, "
                            "ansible_python_interpreter: \"{{ ansible_playbook_python }}\"}\n"
                            "  hosts:\n";
        for (const QString &kind : kinds) {
            Switch &sw = *switches.emplace_back(std::make_unique<Switch>());
            const bool served = kind == "raw" || kind == "rfc2217";
            if (!sw.sim.start(QStringList{"--model", "24sx"} +
                              (served ? QStringList() : kind.split(' ', Qt::SkipEmptyParts))))
                return sw.sim.errorString();
            const auto mode =
                kind == "raw" ? Ser2netProcess::Mode::RawTcp : Ser2netProcess::Mode::ComPortControl;
            if (served && !sw.server.start(sw.sim.ptyPath(), mode))
                return sw.server.errorString();
            inventory += QString("    sw%1: {swcfg_port: \"%2\"}\n")
                             .arg(switches.size())
                             .arg(served ? sw.server.portName() : sw.sim.ptyPath());
        }
        putFile(dir.filePath("inventory.yml"), inventory.toUtf8());
        return QString();
    }

    // ansible-playbook ARGUMENTS...: its exit status, then a line per switch of what it was sent,
    // once the switches that `expected` says were reset have been.
    QString run(const QStringList &arguments, const QString &expected)
    {
        for (const std::unique_ptr<Switch> &sw : switches)
            sw->seen = sw->sim.logLines().size();
        QProcess process;
        process.setWorkingDirectory(dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] :
             {std::pair{"ANSIBLE_COLLECTIONS_PATH", QString(SWCFG_COLLECTIONS_PATH)},
              {"PATH", QFileInfo(SWCFGCTL_PATH).path() + ':' + environment.value("PATH")},
              {"ANSIBLE_NOCOLOR", "1"},
              {"ANSIBLE_LOCAL_TEMP", dir.filePath(".ansible")},
              {"ANSIBLE_CONFIG", dir.filePath("none.cfg")}})
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(SWCFG_ANSIBLE_PLAYBOOK, QStringList{"-i", "inventory.yml"} + arguments);
        // Generous: a run takes seconds, on a loaded machine many more.
        process.waitForFinished(100000);
        output = process.readAllStandardOutput();
        QStringList said{QString::number(process.exitCode())};
        for (const std::unique_ptr<Switch> &sw : switches) {
            const QString resets =
                expected.section('\n', int(said.size()), int(said.size())).section(", ", -1);
            SimProcess::waitFor([&] { return sw->sent().endsWith(resets); }, 3000);
            said << sw->sent();
        }
        return said.join('\n');
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
        const QString written = QString("\nread 8, written, reset 1").repeated(3);
        const QString read = QString("\nread 4, unwritten, reset 0").repeated(3);
        const std::pair<QStringList, QString> runs[] = {
            {{"converge.yml"}, written},
            {{"converge.yml", "--check", "--diff", "-e", R"({"flow_control_7": false})"}, read},
            {{"converge.yml", "-e", R"({"unchanged": true})"}, read},
            {{"facts.yml"}, read},
            {{"restore.yml"}, written},
        };
        for (const auto &[arguments, sent] : runs)
            QVERIFY2(site.run(arguments, "0" + sent) == "0" + sent, qPrintable(site.output));
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
        QTest::addColumn<QString>("result"); // exit status and what each switch was sent
        QTest::addColumn<QString>("said");
        QTest::newRow("a switch lacks a device")
            << QStringList{"raw", "--missing 1", ""} << "converge.yml"
            << "2\nread 8, written, reset 1\nread 0, unwritten, reset 0\nread 8, written, reset 1"
            << R"(fatal: [sw2]: FAILED! => {"changed": false, "msg": "Device 1 Not Found !", "rc": 3)";
        QTest::newRow("bad input") << QStringList{""} << "refusals.yml"
                                   << "0\nread 0, unwritten, reset 0"
                                   << "ok=11 ";
    }
    void failures()
    {
        QFETCH(QStringList, switches);
        QFETCH(QString, playbook);
        QFETCH(QString, result);
        QFETCH(QString, said);
        Site site;
        QCOMPARE(site.start(switches), QString());
        QCOMPARE(site.run({playbook}, result), result);
        QVERIFY2(site.output.contains(said), qPrintable(site.output));
        QVERIFY(playbook != "refusals.yml" || site.switches.front()->sim.logLines().isEmpty());
    }
};

SWCFG_TEST_CLASS(AnsiblePlaybookTest)
#include "ansible_playbook_test.moc"
