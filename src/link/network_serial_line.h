#pragma once

#include "link/com_port_control.h"
#include "link/network_port_name.h"
#include "link/serial_line.h"

#include <QElapsedTimer>

#include <memory>
#include <optional>

class QTcpSocket;

// The serial line of a console server's network port. "tcp://HOST:PORT" passes bytes both ways
// and takes the server's line as set to 9600 8N1; "rfc2217://HOST:PORT" speaks Telnet COM Port
// Control and sets the line itself. The link above sees data bytes only, as on a serial port.
//
// The first open() connects (5 s at most) and the connection stays up until the line is
// destroyed: close() ends an operation, not the connection, so a command pays for one connection
// and a console server that serves one client at a time is never asked twice. A connection lost
// after it was made is final, as an unplugged adapter is: later opens fail with the reason.
//
// Over a network the bytes of an answer may come in bursts further apart than on a UART. The line
// learns the longest silence inside the answers it receives (halved at every command, so that a
// moment's stall fades), and a wait that begins while an answer is coming lasts half as long again
// past its last byte: a quiet line means the answer is over here as it does on a UART, and a
// longer answer is seen whole.
class NetworkSerialLine : public SerialLine
{
public:
    explicit NetworkSerialLine(const QString &name);
    ~NetworkSerialLine() override;
    NetworkSerialLine(const NetworkSerialLine &) = delete;
    NetworkSerialLine &operator=(const NetworkSerialLine &) = delete;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorText() const override;
    bool send(const QByteArray &bytes) override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;
    void discardInput() override;
    void waitForInput(int maxMicros) override;

private:
    bool connectToServer();
    bool setUpComPort(const QElapsedTimer &since);
    // Waits up to maxMs for the socket and takes in what came; true when data did.
    bool look(int maxMs);
    // Takes in what the socket holds: Telnet commands answered and stripped, data kept.
    // `lookedNow`: the socket was just asked, so nothing new means the line was quiet till now.
    void takeIn(bool lookedNow, bool waited);
    void noteData(qint64 arrivedAfter);
    void lose(const QString &reason);
    bool lost() const { return !lostReason_.isEmpty(); }
    // "<name>: <reason>", as errorText() gives it.
    QString reasonText(const QString &reason) const;
    void acknowledgeAtOnce();
    void sleepMicros(qint64 micros) const;
    qint64 nowMicros() const { return clock_.nsecsElapsed() / 1000; }

    QString name_;
    ParsedNetworkPort parsed_;
    std::unique_ptr<QTcpSocket> socket_; // made by the first open, in the thread that uses it
    std::optional<ComPortControl> comPort_;
    QByteArray input_;
    bool open_ = false;
    bool firstBytesSeen_ = false;
    QString error_;
    QString lostReason_; // set once the connection was lost

    QElapsedTimer clock_;
    bool answerStarted_ = false; // data came since the last send
    qint64 lastSendMicros_ = -1;
    qint64 lastDataMicros_ = 0;
    qint64 lastQuietLookMicros_ = 0; // the last time the socket was asked and had no data
    qint64 longestSilenceMicros_ = 0;
};

// Why a network port did not open, after "<name>: ".
namespace NetworkLineTexts
{
inline const char *const kNoConnection = "no connection within 5 s";
inline const char *const kSettingsUnconfirmed = "the server did not confirm the line settings";
inline const char *const kSpeaksTelnet = "the server speaks Telnet: use rfc2217://";
} // namespace NetworkLineTexts
