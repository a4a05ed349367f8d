#include "link/telnet_codec.h"

#include <algorithm>
#include <utility>

using namespace Telnet;

QByteArray Telnet::escape(const QByteArray &data)
{
    QByteArray escaped;
    escaped.reserve(data.size());
    for (const char byte : data) {
        escaped.append(byte);
        if (static_cast<quint8>(byte) == kIac)
            escaped.append(byte);
    }
    return escaped;
}

QByteArray Telnet::subnegotiation(quint8 option, const QByteArray &payload)
{
    QByteArray bytes;
    bytes.append(char(kIac)).append(char(kSb)).append(char(option));
    bytes.append(escape(payload));
    bytes.append(char(kIac)).append(char(kSe));
    return bytes;
}

TelnetCodec::TelnetCodec(std::vector<quint8> ownOptions, std::vector<quint8> peerOptions)
    : ownAgreed_(std::move(ownOptions)), peerAgreed_(std::move(peerOptions))
{
}

QByteArray TelnetCodec::openingRequests()
{
    for (const quint8 option : ownAgreed_) {
        own_[option] = OptionState::Asked;
        reply(kWill, option);
    }
    for (const quint8 option : peerAgreed_) {
        peer_[option] = OptionState::Asked;
        reply(kDo, option);
    }
    return takeReplies();
}

QByteArray TelnetCodec::receive(const QByteArray &bytes)
{
    QByteArray data;
    for (const char c : bytes) {
        if (overrun_)
            break;
        const auto byte = static_cast<quint8>(c);
        switch (phase_) {
        case Phase::Data:
            if (byte == kIac)
                phase_ = Phase::Command;
            else
                data.append(c);
            break;
        case Phase::Command:
            phase_ = Phase::Data;
            if (byte == kIac) {
                data.append(c); // an escaped 0xFF
            } else if (byte >= kWill) {
                verb_ = byte;
                phase_ = Phase::Verb;
            } else if (byte == kSb) {
                subnegotiation_.clear();
                phase_ = Phase::Subnegotiation;
            }
            // Any other command (NOP, GA, AYT, a data mark) carries nothing for this program.
            break;
        case Phase::Verb:
            negotiate(verb_, byte);
            phase_ = Phase::Data;
            break;
        case Phase::Subnegotiation:
            if (byte == kIac)
                phase_ = Phase::SubnegotiationCommand;
            else
                takeSubnegotiationByte(c);
            break;
        case Phase::SubnegotiationCommand:
            if (byte == kIac) {
                takeSubnegotiationByte(c);
                phase_ = Phase::Subnegotiation;
            } else {
                // IAC SE ends it; so does any other command, which a broken peer left it for.
                if (!subnegotiation_.isEmpty())
                    subnegotiations_.push_back(std::exchange(subnegotiation_, {}));
                phase_ = Phase::Data;
            }
            break;
        }
    }
    return data;
}

void TelnetCodec::takeSubnegotiationByte(char byte)
{
    if (subnegotiation_.size() >= kLongestSubnegotiation) {
        overrun_ = true;
        subnegotiation_.clear();
        return;
    }
    subnegotiation_.append(byte);
}

QByteArray TelnetCodec::takeReplies()
{
    return std::exchange(replies_, {});
}

std::vector<QByteArray> TelnetCodec::takeSubnegotiations()
{
    return std::exchange(subnegotiations_, {});
}

void TelnetCodec::negotiate(quint8 verb, quint8 option)
{
    // WILL and WONT speak of what the peer does; DO and DONT of what it wants this end to do.
    if (verb == kWill || verb == kWont)
        answer(peer_, peerAgreed_, option, verb == kWill, kDo, kDont);
    else
        answer(own_, ownAgreed_, option, verb == kDo, kWill, kWont);
}

void TelnetCodec::answer(std::array<OptionState, 256> &side, const std::vector<quint8> &agreed,
                         quint8 option, bool enable, quint8 yes, quint8 no)
{
    OptionState &state = side[option];
    const bool wanted = std::find(agreed.begin(), agreed.end(), option) != agreed.end();
    if (enable) {
        // An answer to our own request, or a state we are in already, needs no reply: that is
        // what keeps two ends from acknowledging each other for ever.
        if (state == OptionState::Asked || state == OptionState::On) {
            state = OptionState::On;
        } else if (wanted) {
            state = OptionState::On;
            reply(yes, option);
        } else if (state == OptionState::Off) {
            state = OptionState::Refused;
            reply(no, option);
        }
        return;
    }
    if (state == OptionState::On)
        reply(no, option);
    if (state != OptionState::Off)
        state = wanted ? OptionState::Refused : OptionState::Off;
}

void TelnetCodec::reply(quint8 verb, quint8 option)
{
    replies_.append(char(kIac)).append(char(verb)).append(char(option));
}
