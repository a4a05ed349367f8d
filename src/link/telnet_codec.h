#pragma once

#include <QByteArray>

#include <array>
#include <vector>

// The Telnet layer of a connection (RFC 854, option negotiation as RFC 1143 keeps it loop-free),
// as plain code: the peer's bytes in, its data bytes and the replies owed to it out. No socket.
namespace Telnet
{
constexpr quint8 kSe = 240;
constexpr quint8 kSb = 250;
constexpr quint8 kWill = 251;
constexpr quint8 kWont = 252;
constexpr quint8 kDo = 253;
constexpr quint8 kDont = 254;
constexpr quint8 kIac = 255;

constexpr quint8 kBinary = 0;
constexpr quint8 kComPortOption = 44;

// No sub-negotiation this program takes part in comes near this many bytes; a longer one is a
// peer gone wrong (or one trying to make this end hold everything it sends).
constexpr int kLongestSubnegotiation = 256;

// Data as it goes on the connection: every 0xFF doubled.
QByteArray escape(const QByteArray &data);
// IAC SB option payload IAC SE, the payload escaped.
QByteArray subnegotiation(quint8 option, const QByteArray &payload);
} // namespace Telnet

class TelnetCodec
{
public:
    // Where an option of one side stands.
    enum class OptionState { Off, Asked, On, Refused };

    // `ownOptions`: what this end agrees to do (asked with WILL); `peerOptions`: what it agrees the
    // peer does (asked with DO). Every other option is refused, politely: DONT to WILL, WONT to DO.
    TelnetCodec(std::vector<quint8> ownOptions, std::vector<quint8> peerOptions);

    // Asks for every option agreed to; the bytes to send first.
    QByteArray openingRequests();
    // Takes bytes from the peer, whole commands or pieces of them; returns the data among them.
    // Once a sub-negotiation ran past kLongestSubnegotiation bytes, everything else is dropped.
    QByteArray receive(const QByteArray &bytes);
    bool overrun() const { return overrun_; }
    // The replies owed to the peer since the last call.
    QByteArray takeReplies();
    // The subnegotiations received since the last call: option byte first, payload unescaped.
    std::vector<QByteArray> takeSubnegotiations();

    OptionState ownOption(quint8 option) const { return own_[option]; }

private:
    enum class Phase { Data, Command, Verb, Subnegotiation, SubnegotiationCommand };

    void takeSubnegotiationByte(char byte);
    void negotiate(quint8 verb, quint8 option);
    // One side's answer to a request for `option` (enable: WILL or DO received).
    void answer(std::array<OptionState, 256> &side, const std::vector<quint8> &agreed,
                quint8 option, bool enable, quint8 yes, quint8 no);
    void reply(quint8 verb, quint8 option);

    std::vector<quint8> ownAgreed_;
    std::vector<quint8> peerAgreed_;
    std::array<OptionState, 256> own_{};
    std::array<OptionState, 256> peer_{};
    Phase phase_ = Phase::Data;
    quint8 verb_ = 0;
    QByteArray subnegotiation_;
    bool overrun_ = false;
    std::vector<QByteArray> subnegotiations_;
    QByteArray replies_;
};
