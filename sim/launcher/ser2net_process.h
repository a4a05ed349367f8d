#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Runs ser2net, a console server, in front of a serial device (the simulator's terminal) for the
// tests and the benchmark: one port on 127.0.0.1, raw TCP or Telnet with COM Port Control,
// configured in a temporary folder of its own and passing partial answers on at once. The
// destructor stops it.
class Ser2netProcess
{
public:
    enum class Mode { RawTcp, ComPortControl };

    Ser2netProcess() = default;
    ~Ser2netProcess();
    Ser2netProcess(const Ser2netProcess &) = delete;
    Ser2netProcess &operator=(const Ser2netProcess &) = delete;

    // Starts it on `device`, its line set to `lineSettings` (ser2net's form: 9600n81), and waits
    // until it listens. False, with errorString() saying why, when it did not.
    bool start(const QString &device, Mode mode, const QString &lineSettings = "9600n81",
               int timeoutMs = 10000);
    // Ends it with SIGTERM (SIGKILL if it will not go) and waits. Safe to call twice.
    void stop();

    // The port as the tool names it: tcp://127.0.0.1:N or rfc2217://127.0.0.1:N.
    QString portName() const;
    quint16 port() const { return port_; }
    QString errorString() const { return error_; }

    // A port of 127.0.0.1 that nothing listens on just now.
    static quint16 freePort();

private:
    // Where ser2net is installed (it lives in sbin); empty when it is not.
    static QString binaryPath();
    bool listening() const;
    QString logText() const;

    QTemporaryDir dir_;
    QProcess process_;
    Mode mode_ = Mode::RawTcp;
    quint16 port_ = 0;
    QString error_;
};
