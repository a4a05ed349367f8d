#include "launcher/ser2net_process.h"
#include "launcher/sim_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>

Ser2netProcess::~Ser2netProcess()
{
    stop();
}

QString Ser2netProcess::binaryPath()
{
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (!onPath.isEmpty())
        return onPath;
    return QStandardPaths::findExecutable(
        QStringLiteral("ser2net"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"), QStringLiteral("/sbin")});
}

quint16 Ser2netProcess::freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 0;
    return server.serverPort();
}

QString Ser2netProcess::portName() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(mode_ == Mode::RawTcp ? QStringLiteral("tcp") : QStringLiteral("rfc2217"))
        .arg(port_);
}

bool Ser2netProcess::start(const QString &device, Mode mode, const QString &lineSettings,
                           int timeoutMs)
{
    mode_ = mode;
    const QString binary = binaryPath();
    if (binary.isEmpty()) {
        error_ = QStringLiteral("ser2net is not installed (Debian package ser2net)");
        return false;
    }
    port_ = freePort();
    if (!dir_.isValid() || port_ == 0) {
        error_ = QStringLiteral("no temporary folder or no free port");
        return false;
    }
    // ser2net holds partial answers back to gather characters unless chardelay is off.
    const QString accepter = mode == Mode::RawTcp ? QStringLiteral("tcp(nodelay)")
                                                  : QStringLiteral("telnet(rfc2217),tcp(nodelay)");
    const QString config = QStringLiteral("connection: &swcfg\n"
                                          "  accepter: %1,127.0.0.1,%2\n"
                                          "  connector: serialdev,%3,%4,local\n"
                                          "  options:\n"
                                          "    chardelay: false\n")
                               .arg(accepter)
                               .arg(port_)
                               .arg(device, lineSettings);
    QFile file(dir_.filePath(QStringLiteral("ser2net.yaml")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) != config.toUtf8().size()) {
        error_ = file.errorString();
        return false;
    }
    file.close();
    // In the foreground, logging to a file of its own, without UUCP locks or a pid file in /run.
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(dir_.filePath(QStringLiteral("ser2net.log")));
    process_.start(binary, {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-u"),
                            QStringLiteral("-c"), file.fileName(), QStringLiteral("-P"),
                            dir_.filePath(QStringLiteral("ser2net.pid"))});
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = process_.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!listening()) {
        if (process_.state() != QProcess::Running || clock.hasExpired(timeoutMs)) {
            error_ =
                QStringLiteral("ser2net did not listen on port %1: %2").arg(port_).arg(logText());
            stop();
            return false;
        }
        // Sleeps as long, and notices the server ending (say, on a configuration it refused).
        process_.waitForFinished(10);
    }
    return true;
}

void Ser2netProcess::stop()
{
    stopProcess(process_);
}

// Asked of the system rather than by connecting: a connection of our own would open the line.
bool Ser2netProcess::listening() const
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray entry = QStringLiteral("0100007F:%1 00000000:0000 0A")
                                 .arg(port_, 4, 16, QLatin1Char('0'))
                                 .toUpper()
                                 .toLatin1();
    return table.readAll().contains(entry);
}

QString Ser2netProcess::logText() const
{
    QFile log(dir_.filePath(QStringLiteral("ser2net.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()).trimmed()
                                         : QString();
}
