// Times a fleet run of the Ansible collection: ansible-playbook -f N over N paced simulated
// switches behind ser2net, each one port setting away from the wanted state, against one
// switch's own swcfgctl transfers, with Ansible's start-up timed apart and the CPU of each run.

#include "launcher/ser2net_process.h"
#include "launcher/sim_process.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <memory>
#include <vector>

namespace
{

// The wanted state: storm control on port 7, which a factory image has off.
const char kWanted[] =
    R"({"format": "swcfg-config", "version": 1, "model": "24sx", "ports": {"7": {"storm_control": true}}})";

const char kPlaybook[] = R"(---
- name: Converge
  hosts: switches
  gather_facts: false
  tasks:
    - name: Storm control on port 7
      swcfg.switch.config:
        port: "{{ swcfg_port }}"
        model: 24sx
        config: {ports: {"7": {storm_control: true}}}
)";

// Ansible alone: the same hosts, a module that does nothing.
const char kStartup[] = R"(---
- name: Start-up
  hosts: switches
  gather_facts: false
  tasks:
    - name: Nothing
      ansible.builtin.ping:
)";

struct Switch {
    std::unique_ptr<SimProcess> sim = std::make_unique<SimProcess>();
    std::unique_ptr<Ser2netProcess> server = std::make_unique<Ser2netProcess>();
};

// CPU seconds of the children waited for so far.
double childrenCpu()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(' ', 0, 2)
                                          : QStringLiteral("?");
}

struct Timed {
    int status = -1;
    double wall = 0;
    double cpu = 0;
    QString output;
};

Timed timed(const QString &program, const QStringList &arguments, const QString &folder,
            const QByteArray &input = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ANSIBLE_COLLECTIONS_PATH"),
                       QStringLiteral(SWCFG_COLLECTIONS_PATH));
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(SWCFGCTL_PATH)).path() +
                                                   QLatin1Char(':') +
                                                   environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("ANSIBLE_NOCOLOR"), QStringLiteral("1"));
    environment.insert(QStringLiteral("ANSIBLE_CONFIG"), folder + QStringLiteral("/none.cfg"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const double cpuBefore = childrenCpu();
    QElapsedTimer wall;
    wall.start();
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(600000);
    Timed result;
    result.wall = double(wall.nsecsElapsed()) / 1e9;
    result.cpu = childrenCpu() - cpuBefore;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

int countChanged(const QString &output, int hosts)
{
    int changed = 0;
    for (int i = 1; i <= hosts; ++i) {
        changed += QRegularExpression(QStringLiteral("^sw%1 +: ok=\\d+ +changed=1 ").arg(i),
                                      QRegularExpression::MultilineOption)
                       .match(output)
                       .hasMatch();
    }
    return changed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Times ansible-playbook -f N over N paced simulated switches behind ser2net."));
    parser.addHelpOption();
    const QCommandLineOption countOption(QStringLiteral("switches"),
                                         QStringLiteral("How many switches (16)."),
                                         QStringLiteral("N"), QStringLiteral("16"));
    const QCommandLineOption rfc2217Option(QStringLiteral("rfc2217"),
                                           QStringLiteral("RFC 2217 ports instead of raw TCP."));
    parser.addOption(countOption);
    parser.addOption(rfc2217Option);
    parser.process(app);
    const int count = qMax(1, parser.value(countOption).toInt());
    const auto mode = parser.isSet(rfc2217Option) ? Ser2netProcess::Mode::ComPortControl
                                                  : Ser2netProcess::Mode::RawTcp;
    QTextStream out(stdout);

    QTemporaryDir folder;
    std::vector<Switch> fleet(static_cast<std::size_t>(count));
    QString hosts;
    for (int i = 0; i < count; ++i) {
        Switch &sw = fleet[std::size_t(i)];
        if (!sw.sim->start(
                {QStringLiteral("--model"), QStringLiteral("24sx"), QStringLiteral("--pace")}) ||
            !sw.server->start(sw.sim->ptyPath(), mode)) {
            out << "could not start switch " << i + 1 << ": " << sw.sim->errorString()
                << sw.server->errorString() << Qt::endl;
            return 1;
        }
        hosts += QStringLiteral("    sw%1: {swcfg_port: \"%2\"}\n")
                     .arg(i + 1)
                     .arg(sw.server->portName());
    }
    const auto put = [&folder](const char *name, const QByteArray &text) {
        QFile file(folder.filePath(QLatin1String(name)));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    put("inventory.yml", ("switches:\n  hosts:\n" + hosts +
                          "  vars:\n    ansible_connection: local\n"
                          "    ansible_python_interpreter: \"{{ ansible_playbook_python }}\"\n")
                             .toUtf8());
    put("converge.yml", kPlaybook);
    put("startup.yml", kStartup);
    put("wanted.json", kWanted);
    const QString factory = folder.filePath(QStringLiteral("factory.bin"));
    QFile::copy(fleet.front().sim->statePath(), factory);

    const QString ctl = QStringLiteral(SWCFGCTL_PATH);
    const QString port = fleet.front().server->portName();
    const QString playbook = QStringLiteral(SWCFG_ANSIBLE_PLAYBOOK);
    const QStringList inventory{QStringLiteral("-i"), QStringLiteral("inventory.yml"),
                                QStringLiteral("-f"), QString::number(count)};
    out << "load before: " << loadAverage() << Qt::endl;

    // One switch alone: a read, and a changed-only write of the wanted state; then the switch is
    // put back one setting away.
    const Timed read = timed(ctl,
                             {QStringLiteral("read"), QStringLiteral("--model"),
                              QStringLiteral("24sx"), QStringLiteral("--port"), port,
                              QStringLiteral("-o"), folder.filePath(QStringLiteral("one.bin"))},
                             folder.path());
    const Timed write =
        timed(ctl,
              {QStringLiteral("write"), QStringLiteral("--model"), QStringLiteral("24sx"),
               QStringLiteral("--port"), port, QStringLiteral("--changed-only"),
               QStringLiteral("--config"), folder.filePath(QStringLiteral("wanted.json"))},
              folder.path());
    timed(ctl,
          {QStringLiteral("write"), QStringLiteral("--model"), QStringLiteral("24sx"),
           QStringLiteral("--port"), port, QStringLiteral("--changed-only"), factory},
          folder.path());
    const Timed startup =
        timed(playbook, inventory + QStringList{QStringLiteral("startup.yml")}, folder.path());
    std::vector<qsizetype> seen;
    for (const Switch &sw : fleet)
        seen.push_back(sw.sim->logLines().size());
    const Timed converge =
        timed(playbook, inventory + QStringList{QStringLiteral("converge.yml")}, folder.path());
    for (std::size_t i = 0; i < fleet.size(); ++i)
        seen[i] = fleet[i].sim->logLines().size();
    const Timed rerun =
        timed(playbook, inventory + QStringList{QStringLiteral("converge.yml")}, folder.path());
    int touched = 0;
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        for (const QString &line : fleet[i].sim->logLines().mid(seen[i]))
            touched += line.startsWith(QLatin1String("write ")) || line == QLatin1String("reset");
    }

    out << "load after: " << loadAverage() << Qt::endl;
    for (const auto &[name, run] :
         {std::pair{"read, one switch", read}, std::pair{"changed-only write, one switch", write},
          std::pair{"ansible start-up (ping)", startup}, std::pair{"converging run", converge},
          std::pair{"re-run", rerun}}) {
        out << QStringLiteral("%1  status %2  wall %3 s  cpu %4 s (%5 % of one core)")
                   .arg(QLatin1String(name), -32)
                   .arg(run.status)
                   .arg(run.wall, 6, 'f', 2)
                   .arg(run.cpu, 6, 'f', 2)
                   .arg(100 * run.cpu / run.wall, 5, 'f', 1)
            << Qt::endl;
    }
    const double convergeGoal = 1.5 * write.wall + startup.wall;
    const double rerunGoal = 1.5 * read.wall + startup.wall;
    out << QStringLiteral("converging run: %1 of %2 switches changed; %3 s, goal %4 s (%5)")
               .arg(countChanged(converge.output, count))
               .arg(count)
               .arg(converge.wall, 0, 'f', 2)
               .arg(convergeGoal, 0, 'f', 2)
               .arg(converge.wall <= convergeGoal ? "met" : "missed")
        << Qt::endl;
    out << QStringLiteral("re-run: %1 switches changed, %2 words written or resets; %3 s, goal %4 "
                          "s (%5)")
               .arg(countChanged(rerun.output, count))
               .arg(touched)
               .arg(rerun.wall, 0, 'f', 2)
               .arg(rerunGoal, 0, 'f', 2)
               .arg(rerun.wall <= rerunGoal && touched == 0 ? "met" : "missed")
        << Qt::endl;
    if (converge.status != 0 || rerun.status != 0)
        out << converge.output << rerun.output;
    return converge.status == 0 && rerun.status == 0 ? 0 : 1;
}
