#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Runs swcfgctl to its end: "<exit status>|<standard output>|<standard error>".
// `limitFileSize`: any write beyond 100 bytes fails in swcfgctl alone. A last argument ">FILE"
// sends standard output there (">|": into a pipe nobody reads), "<FILE" takes standard input from
// there, "<<TEXT" through a pipe.
inline QString runCtl(QStringList arguments, bool limitFileSize = false)
{
    QProcess process;
    const bool closedPipe = arguments.last() == ">|";
    if (arguments.last().startsWith('>') && !closedPipe)
        process.setStandardOutputFile(arguments.takeLast().mid(1));
    const QString piped = arguments.last().startsWith("<<") ? arguments.takeLast().mid(2) : "";
    if (arguments.last().startsWith('<'))
        process.setStandardInputFile(arguments.takeLast().mid(1));
    arguments.removeAll(">|");
    process.setChildProcessModifier([limitFileSize, closedPipe] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100, 100};
        if (limitFileSize)
            setrlimit(RLIMIT_FSIZE, &limit);
        int reader[2];
        if (closedPipe && pipe(reader) == 0 && close(reader[0]) == 0)
            dup2(reader[1], STDOUT_FILENO);
    });
    process.start(QStringLiteral(SWCFGCTL_PATH), arguments);
    if (!piped.isEmpty())
        process.write(piped.toUtf8());
    process.closeWriteChannel();
    // Far beyond what a command needs against the simulator, even on a loaded machine.
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("swcfgctl did not finish");
    return QStringLiteral("%1|%2|%3")
        .arg(QString::number(process.exitCode()),
             QString::fromLocal8Bit(process.readAllStandardOutput()),
             QString::fromLocal8Bit(process.readAllStandardError()));
}
