#pragma once

#include "link/telnet_codec.h"

#include <QByteArray>
#include <QString>

// The client side of Telnet COM Port Control (RFC 2217), as plain code: asks the console server
// for the option, sets its serial line to 9600 baud, 8 data bits, no parity, 1 stop bit and no
// flow control, and checks that the server says it set each of them. Data passes both ways with
// its 0xFF bytes escaped; the server's Telnet commands and notifications never reach the data.
class ComPortControl
{
public:
    enum class State { Negotiating, SettingLine, Ready, Failed };

    ComPortControl();

    // The requests to send once connected.
    QByteArray start();
    // Takes bytes from the server; returns the data among them. Replies go to takeReplies().
    // A sub-negotiation that runs on without end fails the control, however far the setup got.
    QByteArray receive(const QByteArray &bytes);
    QByteArray takeReplies();
    // Data as it goes to the server.
    static QByteArray encode(const QByteArray &data) { return Telnet::escape(data); }

    State state() const { return state_; }
    // Why the line could not be set up (when Failed).
    QString failure() const { return failure_; }

private:
    void takeSettingReply(const QByteArray &subnegotiation);
    void fail(const QString &why);

    TelnetCodec telnet_;
    State state_ = State::Negotiating;
    QString failure_;
    QByteArray settingRequests_;
    bool settingsDue_ = false;
    unsigned settingsConfirmed_ = 0; // one bit per setting, by its command number
};

namespace ComPortTexts
{
inline const char *const kNoComPortOption = "no COM-PORT-OPTION";
// "a Telnet sub-negotiation ran past 256 bytes"
QString subnegotiationTooLong();
// "<setting> refused: the server set <value>, not <wanted>"
QString settingRefused(const QString &setting, const QString &value, const QString &wanted);
} // namespace ComPortTexts
