#pragma once

#include "link/answer_bursts.h"
#include "link/com_port_control.h"
#include "link/network_port_name.h"
#include "link/serial_line.h"

#include <memory>
#include <optional>

class LinkClock;
class QTcpSocket;

// How the bytes cross to the console server's serial line.
enum class NetworkProtocol {
    RawTcp,         // as they are; the server's line is taken as set to 9600 8N1
    ComPortControl, // Telnet with COM Port Control, which sets the line
};

// The serial line of a console server's network port (SCHEME://HOST:PORT). Raw TCP passes bytes
// both ways and takes the server's line as set to 9600 8N1; Telnet COM Port Control sets the line
// itself. The link above sees data bytes only, as on a serial port.
//
// The first open() connects (5 s at most) and the connection stays up until the line is
// destroyed: close() ends an operation, not the connection, so a command pays for one connection
// and a console server that serves one client at a time is never asked twice. A connection lost
// after it was made is final, as an unplugged adapter is: later opens fail with the reason.
//
// Over a network the bytes of an answer may come in bursts further apart than on a UART: the
// line's waits for input reckon with the silences inside its answers (see AnswerBursts).
//
// Whatever the server sends, the line holds little of it: more data after one command than a
// 9600-baud line carries in the longest wait, a Telnet sub-negotiation that runs on, or a server
// that takes none of the replies owed to it loses the line as a vanished one is lost.
class NetworkSerialLine : public SerialLine
{
public:
    // Time is read from `clock`, the clock of the waits on the line.
    NetworkSerialLine(const QString &name, NetworkProtocol protocol, LinkClock &clock);
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
    // Until the server acknowledged every byte sent, and 250 ms have passed since the last send:
    // it passes them on to its serial line as it reads them, and some servers drop what they have
    // not passed on yet when the connection ends.
    bool waitUntilSent() override;

    // The most bytes from the server that the line held at once (as received, and unread).
    qint64 mostHeldBytes() const { return mostHeld_; }

private:
    bool connectToServer();
    // Until the server confirmed the line settings, or the connection's 5 s since startMs ran out.
    bool setUpComPort(qint64 startMs);
    // Waits up to maxMs for the socket and takes in what came; true when data did.
    bool look(int maxMs);
    // Takes in what the socket holds: Telnet commands answered and stripped, data kept.
    // `lookedNow`: the socket was just asked, so nothing new means the line was quiet till now.
    void takeIn(bool lookedNow, bool waited);
    void lose(const QString &reason);
    bool lost() const { return !lostReason_.isEmpty(); }
    // "<name>: <reason>", as errorText() gives it.
    QString reasonText(const QString &reason) const;
    void acknowledgeAtOnce();
    // Bytes sent that the server has not acknowledged yet.
    qint64 unacknowledgedBytes() const;
    void sleepMicros(qint64 micros) const;
    qint64 nowMicros() const;

    QString name_;
    ParsedNetworkPort parsed_;
    NetworkProtocol protocol_;
    std::unique_ptr<QTcpSocket> socket_; // made by the first open, in the thread that uses it
    std::optional<ComPortControl> comPort_;
    QByteArray input_;
    qint64 mostHeld_ = 0;
    bool open_ = false;
    bool firstBytesSeen_ = false;
    QString error_;
    QString lostReason_; // set once the connection was lost

    LinkClock &clock_;
    qint64 lastSendMicros_ = -1;
    AnswerBursts bursts_;
};

// Why a network port did not open, after "<name>: ".
namespace NetworkLineTexts
{
inline const char *const kNoConnection = "no connection within 5 s";
inline const char *const kSettingsUnconfirmed = "the server did not confirm the line settings";
inline const char *const kSpeaksTelnet = "the server speaks Telnet: use rfc2217://";
// "the server sent more than 16384 bytes for one command"
QString flooded();
inline const char *const kNotTaken = "the server did not take the last command";
inline const char *const kRepliesNotTaken = "the server takes none of the replies owed to it";
} // namespace NetworkLineTexts
