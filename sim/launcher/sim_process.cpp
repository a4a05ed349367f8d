#include "launcher/sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

SimProcess::SimProcess()
{
    // Errors of the simulator show up in the test's own output.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::binaryPath()
{
    return QStringLiteral(SWCFG_SIM_PATH);
}

QString SimProcess::linkPath() const
{
    return dir_.filePath(QStringLiteral("ttySIM"));
}
QString SimProcess::statePath() const
{
    return dir_.filePath(QStringLiteral("state.bin"));
}
QString SimProcess::logPath() const
{
    return dir_.filePath(QStringLiteral("commands.log"));
}

bool SimProcess::start(const QStringList &arguments, int timeoutMs)
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder: %1").arg(dir_.errorString());
        return false;
    }
    QStringList all = arguments;
    // Standard input stays a pipe from us: should the test die, the simulator goes with it.
    all << QStringLiteral("--state") << statePath() << QStringLiteral("--log") << logPath()
        << QStringLiteral("--link") << linkPath() << QStringLiteral("--exit-on-stdin-end");
    process_.setWorkingDirectory(dir_.path());
    process_.start(binaryPath(), all);
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = process_.errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (!process_.canReadLine()) {
        if (process_.state() != QProcess::Running || clock.hasExpired(timeoutMs)) {
            error_ = QStringLiteral("swcfg-sim did not name its terminal (%1)")
                         .arg(process_.state() == QProcess::Running ? QStringLiteral("time-out")
                                                                    : QStringLiteral("it ended"));
            stop();
            return false;
        }
        process_.waitForReadyRead(100);
    }
    ptyPath_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    return true;
}

void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(10000);
    }
}

void SimProcess::stop()
{
    stopProcess(process_);
}

bool SimProcess::isRunning() const
{
    return process_.state() == QProcess::Running;
}

int SimProcess::exitCode() const
{
    if (process_.state() != QProcess::NotRunning || process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

std::optional<ImageWords> SimProcess::stateImage() const
{
    QFile file(statePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    const qsizetype block = 2 * kWordsPerDevice;
    if (bytes.isEmpty() || bytes.size() % block != 0 || bytes.size() / block > kDeviceSlots)
        return std::nullopt;
    // Word for word: the image as the simulator holds it, with no bit cleared on the way.
    ImageWords image{};
    for (qsizetype at = 0; at < bytes.size(); at += 2) {
        image[at / block][(at % block) / 2] = static_cast<quint16>(
            static_cast<quint8>(bytes[at]) << 8 | static_cast<quint8>(bytes[at + 1]));
    }
    return image;
}

QStringList SimProcess::logLines() const
{
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Only whole lines: the simulator may be half-way through writing the next one.
    const QByteArray text = file.readAll();
    const qsizetype end = text.lastIndexOf('\n');
    if (end < 0)
        return {};
    return QString::fromUtf8(text.left(end)).split(QLatin1Char('\n'));
}

bool SimProcess::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return true;
}

bool SimProcess::waitForLogLines(int count, int timeoutMs) const
{
    return waitFor([this, count] { return logLines().size() >= count; }, timeoutMs);
}
