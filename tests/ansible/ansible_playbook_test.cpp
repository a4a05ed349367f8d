#include "image/bin_file.h"
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

using Mode = Ser2netProcess::Mode;

// A switch of the inventory: its simulator, reached on its terminal or through ser2net.
struct Switch {
    QString name;
    std::unique_ptr<SimProcess> sim = std::make_unique<SimProcess>();
    std::unique_ptr<Ser2netProcess> server;
    qsizetype seen = 0; // log lines before the last run

    QString port() const { return server ? server->portName() : sim->ptyPath(); }
    // What the switch was sent since the last run began: how many of each command.
    int sent(const QString &kind) const
    {
        int count = 0;
        for (const QString &line : sim->logLines().mid(seen))
            count += line.section(' ', 0, 0) == kind ? 1 : 0;
        return count;
    }
    // Whole devices read (the module check reads one byte of a register).
    int devicesRead() const
    {
        return int(
            sim->logLines().mid(seen).filter(QRegularExpression("^read \\d 0 000 256$")).size());
    }
};

// A folder of the test's own with the integration playbooks, an inventory of the switches, and
// ansible-playbook run there.
class Site
{
public:
    // One switch of the model per entry: "" on its terminal, "raw" or "rfc2217" behind ser2net,
    // anything else the simulator's fault options.
    bool start(const QStringList &switches)
    {
        QDir source(QStringLiteral(SWCFG_ANSIBLE_INTEGRATION));
        for (const QString &playbook : source.entryList({"*.yml"}, QDir::Files)) {
            if (!QFile::copy(source.filePath(playbook), dir_.filePath(playbook)))
                return fail("cannot copy " + playbook);
        }
        QString hosts;
        for (const QString &kind : switches) {
            auto sw = std::make_unique<Switch>();
            sw->name = QStringLiteral("sw%1").arg(switches_.size() + 1);
            const bool served = kind == "raw" || kind == "rfc2217";
            QStringList arguments{"--model", "24sx"};
            if (!served)
                arguments += kind.split(' ', Qt::SkipEmptyParts);
            if (!sw->sim->start(arguments))
                return fail(sw->sim->errorString());
            if (served) {
                sw->server = std::make_unique<Ser2netProcess>();
                if (!sw->server->start(sw->sim->ptyPath(),
                                       kind == "raw" ? Mode::RawTcp : Mode::ComPortControl))
                    return fail(sw->server->errorString());
            }
            hosts += QStringLiteral("    %1: {swcfg_port: \"%2\"}\n").arg(sw->name, sw->port());
            switches_.push_back(std::move(sw));
        }
        return putFile(dir_.filePath("inventory.yml"),
                       ("switches:\n  hosts:\n" + hosts +
                        "  vars:\n    ansible_connection: local\n"
                        "    ansible_python_interpreter: \"{{ ansible_playbook_python }}\"\n"
                        "    swcfg_model: 24sx\n")
                           .toUtf8()) ||
               fail("cannot write the inventory");
    }

    // ansible-playbook PLAYBOOK ARGUMENTS...: its exit status, then its output.
    QString run(const QStringList &arguments)
    {
        for (const std::unique_ptr<Switch> &sw : switches_)
            sw->seen = sw->sim->logLines().size();
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ANSIBLE_COLLECTIONS_PATH", SWCFG_COLLECTIONS_PATH);
        environment.insert("PATH", QFileInfo(SWCFGCTL_PATH).path() + ':' +
                                       environment.value("PATH", "/usr/bin:/bin"));
        environment.insert("ANSIBLE_NOCOLOR", "1");
        environment.insert("ANSIBLE_RETRY_FILES_ENABLED", "0");
        environment.insert("ANSIBLE_LOCAL_TEMP", dir_.filePath(".ansible"));
        environment.insert("ANSIBLE_CONFIG", dir_.filePath("none.cfg"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(SWCFG_ANSIBLE_PLAYBOOK, QStringList{"-i", "inventory.yml"} + arguments);
        // Generous: the playbooks take seconds, a loaded machine many more.
        if (!process.waitForFinished(100000))
            return QStringLiteral("ansible-playbook did not finish");
        return QString::number(process.exitCode()) + '|' +
               QString::fromUtf8(process.readAllStandardOutput());
    }

    // The counts of the host's line in the play's recap: "ok=2 changed=1 failed=0 ignored=0".
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

    const std::vector<std::unique_ptr<Switch>> &switches() const { return switches_; }
    QString path(const QString &name) const { return dir_.filePath(name); }
    QString error() const { return error_; }

private:
    bool fail(const QString &why)
    {
        error_ = why;
        return false;
    }

    QTemporaryDir dir_;
    std::vector<std::unique_ptr<Switch>> switches_;
    QString error_;
};

} // namespace

// The collection swcfg.switch through ansible-playbook against simulated 24-port 1000Base-SX
// switches, some behind a real console server (ser2net on 127.0.0.1): what a run changes, backs up
// and leaves alone, as the simulators saw it.
class AnsiblePlaybookTest : public QObject
{
    Q_OBJECT

private slots:
    // The first run writes every switch, resets it once and backs up what it held, beside the
    // playbook; a check run of one setting more reports each changed with the setting's diff and
    // only reads; a second run changes nothing and costs one read; the facts show what was
    // written; the first backups, written back, make the switches what they were.
    void converge()
    {
        Site site;
        QVERIFY2(site.start({"", "raw", "rfc2217"}), qPrintable(site.error()));
        std::vector<QByteArray> held;
        for (const auto &sw : site.switches())
            held.push_back(fileBytes(sw->sim->statePath()));

        QString run = site.run({"converge.yml"});
        QVERIFY2(run.startsWith("0|"), qPrintable(run));
        const QStringList backups = QDir(site.path("backup")).entryList(QDir::Files);
        QCOMPARE(backups.size(), 3);
        for (std::size_t i = 0; i < held.size(); ++i) {
            const Switch &sw = *site.switches()[i];
            QCOMPARE(Site::recap(run, sw.name), "ok=2 changed=1 failed=0 ignored=0");
            QVERIFY(SimProcess::waitFor([&] { return sw.sent("reset") == 1; }));
            QCOMPARE(sw.devicesRead(), 8);
            QVERIFY(sw.sent("write") > 0);
            const QString backup = backups.filter(sw.name + "_config.").value(0);
            QVERIFY2(QRegularExpression(
                         "^sw\\d_config\\.\\d{4}-\\d\\d-\\d\\d@\\d\\d:\\d\\d:\\d\\d\\.bin$")
                         .match(backup)
                         .hasMatch(),
                     qPrintable(backup));
            QCOMPARE(fileBytes(site.path("backup/" + backup)), held[i]);
        }

        run = site.run({"converge.yml", "--check", "--diff", "-e", R"({"flow_control_7": false})"});
        QVERIFY2(run.startsWith("0|"), qPrintable(run));
        QCOMPARE(run.count(QRegularExpression("^-   7  off       on        on             on ",
                                              QRegularExpression::MultilineOption)),
                 3);
        QCOMPARE(run.count(QRegularExpression("^\\+   7  off       on        on             off ",
                                              QRegularExpression::MultilineOption)),
                 3);
        for (const auto &sw : site.switches()) {
            QCOMPARE(Site::recap(run, sw->name), "ok=2 changed=1 failed=0 ignored=0");
            QCOMPARE(sw->devicesRead(), 4);
            QCOMPARE(sw->sent("write") + sw->sent("reset"), 0);
        }

        run = site.run({"converge.yml"});
        QVERIFY2(run.startsWith("0|"), qPrintable(run));
        for (const auto &sw : site.switches()) {
            QCOMPARE(Site::recap(run, sw->name), "ok=2 changed=0 failed=0 ignored=0");
            QCOMPARE(sw->devicesRead(), 4);
            QCOMPARE(sw->sent("write") + sw->sent("reset"), 0);
        }

        run = site.run({"facts.yml"});
        QVERIFY2(run.startsWith("0|"), qPrintable(run));

        run = site.run({"restore.yml"});
        QVERIFY2(run.startsWith("0|"), qPrintable(run));
        for (std::size_t i = 0; i < held.size(); ++i)
            QCOMPARE(fileBytes(site.switches()[i]->sim->statePath()), held[i]);
    }

    // A switch that lacks a device fails alone, with swcfgctl's message and status, and is
    // neither written nor reset; the others converge.
    void oneSwitchFails()
    {
        Site site;
        QVERIFY2(site.start({"raw", "--missing 1", ""}), qPrintable(site.error()));
        const QString run = site.run({"converge.yml"});
        QVERIFY2(run.startsWith("2|"), qPrintable(run));
        QVERIFY2(run.contains(R"("msg": "Device 1 Not Found !", "rc": 3)"), qPrintable(run));
        for (const auto &sw : site.switches()) {
            const bool fails = sw->name == "sw2";
            QCOMPARE(Site::recap(run, sw->name), fails ? "ok=0 changed=0 failed=1 ignored=0"
                                                       : "ok=2 changed=1 failed=0 ignored=0");
            QVERIFY(SimProcess::waitFor([&] { return sw->sent("reset") == (fails ? 0 : 1); }));
            QCOMPARE(sw->sent("write") > 0, !fails);
        }
    }

    // Bad input fails each task with a message a technician understands (refusals.yml says
    // which), and nothing reaches the switch.
    void refusals()
    {
        Site site;
        QVERIFY2(site.start({""}), qPrintable(site.error()));
        const QString run = site.run({"refusals.yml"});
        QVERIFY2(run.startsWith("0|"), qPrintable(run));
        QCOMPARE(Site::recap(run, "sw1"), "ok=11 changed=0 failed=0 ignored=9");
        QCOMPARE(site.switches().front()->sim->logLines(), QStringList());
    }
};

SWCFG_TEST_CLASS(AnsiblePlaybookTest)
#include "ansible_playbook_test.moc"
