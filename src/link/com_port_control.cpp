#include "link/com_port_control.h"

#include <QStringList>

#include <array>
#include <utility>

namespace
{

// A server answers a setting with its command number plus 100 and the value it set.
constexpr quint8 kServerReplyOffset = 100;
// One bit per setting confirmed, by command number (1..5).
constexpr unsigned kAllSettings = 0x3E;

struct LineSetting {
    quint8 command;
    const char *name;
    QByteArray value;       // as sent: the baud rate in four bytes, high byte first
    QStringList valueNames; // by value, for the message when the server set another one
};

const std::array<LineSetting, 5> &lineSettings()
{
    static const std::array<LineSetting, 5> settings{{
        {1, "baud rate", QByteArray::fromHex("00002580"), {}},
        {2, "data bits", QByteArray::fromHex("08"), {}},
        {3, "parity", QByteArray::fromHex("01"), {"?", "none", "odd", "even", "mark", "space"}},
        {4, "stop bits", QByteArray::fromHex("01"), {"?", "1", "2", "1.5"}},
        {5, "flow control", QByteArray::fromHex("01"), {"?", "none", "XON/XOFF", "hardware"}},
    }};
    return settings;
}

QString valueText(const LineSetting &setting, const QByteArray &value)
{
    quint32 number = 0;
    for (const char byte : value)
        number = number << 8 | static_cast<quint8>(byte);
    if (value.size() > 4 || value.isEmpty())
        return QStringLiteral("0x") + QString::fromLatin1(value.toHex());
    if (number < static_cast<quint32>(setting.valueNames.size()))
        return setting.valueNames.at(static_cast<int>(number));
    return QString::number(number);
}

} // namespace

QString ComPortTexts::settingRefused(const QString &setting, const QString &value,
                                     const QString &wanted)
{
    return QStringLiteral("%1 refused: the server set %2, not %3").arg(setting, value, wanted);
}

QString ComPortTexts::subnegotiationTooLong()
{
    return QStringLiteral("a Telnet sub-negotiation ran past %1 bytes")
        .arg(Telnet::kLongestSubnegotiation);
}

ComPortControl::ComPortControl()
    : telnet_({Telnet::kComPortOption, Telnet::kBinary}, {Telnet::kBinary})
{
    for (const LineSetting &setting : lineSettings())
        settingRequests_ += Telnet::subnegotiation(
            Telnet::kComPortOption, QByteArray(1, char(setting.command)) + setting.value);
}

QByteArray ComPortControl::start()
{
    return telnet_.openingRequests();
}

QByteArray ComPortControl::receive(const QByteArray &bytes)
{
    const QByteArray data = telnet_.receive(bytes);
    if (state_ == State::Negotiating || state_ == State::SettingLine) {
        const TelnetCodec::OptionState option = telnet_.ownOption(Telnet::kComPortOption);
        if (option == TelnetCodec::OptionState::Refused) {
            fail(QString::fromLatin1(ComPortTexts::kNoComPortOption));
        } else if (option == TelnetCodec::OptionState::On && state_ == State::Negotiating) {
            state_ = State::SettingLine;
            settingsDue_ = true; // they go out with the next replies
        }
    }
    for (const QByteArray &subnegotiation : telnet_.takeSubnegotiations()) {
        if (state_ == State::SettingLine && subnegotiation.size() >= 2 &&
            static_cast<quint8>(subnegotiation[0]) == Telnet::kComPortOption)
            takeSettingReply(subnegotiation.mid(1));
        // Line and modem state notifications, and anything else, say nothing the link needs.
    }
    if (telnet_.overrun())
        fail(ComPortTexts::subnegotiationTooLong());
    return data;
}

QByteArray ComPortControl::takeReplies()
{
    QByteArray replies = telnet_.takeReplies();
    if (std::exchange(settingsDue_, false))
        replies += settingRequests_;
    return replies;
}

void ComPortControl::takeSettingReply(const QByteArray &reply)
{
    const auto command = static_cast<quint8>(reply[0]);
    for (const LineSetting &setting : lineSettings()) {
        if (command != setting.command + kServerReplyOffset)
            continue;
        const QByteArray value = reply.mid(1);
        if (value != setting.value) {
            fail(ComPortTexts::settingRefused(QString::fromLatin1(setting.name),
                                              valueText(setting, value),
                                              valueText(setting, setting.value)));
            return;
        }
        settingsConfirmed_ |= 1u << setting.command;
        if (settingsConfirmed_ == kAllSettings)
            state_ = State::Ready;
        return;
    }
}

void ComPortControl::fail(const QString &why)
{
    state_ = State::Failed;
    failure_ = why;
}
