#include "link/wire_protocol.h"

namespace WireProtocol
{

namespace
{

QByteArray commandHead(char letter, int device, int space, int address)
{
    QByteArray command("n");
    command += letter;
    command += QByteArray::number(device);
    command += QByteArray::number(space);
    command += threeDigits(address);
    return command;
}

std::optional<int> hexDigit(char byte)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    if (byte >= 'A' && byte <= 'F')
        return byte - 'A' + 10;
    return std::nullopt;
}

} // namespace

QByteArray threeDigits(int n)
{
    Q_ASSERT(n >= 0 && n <= 999);
    return QByteArray::number(n).rightJustified(3, '0');
}

QByteArray writeWordCommand(int device, int space, int address, quint16 value)
{
    return commandHead('o', device, space, address) + threeDigits(value >> 8) +
           threeDigits(value & 0xFF) + kCarriageReturn;
}

QByteArray readCommand(int device, int space, int address, int byteCount)
{
    return commandHead('r', device, space, address) + threeDigits(byteCount) + kCarriageReturn;
}

QByteArray probeCommand()
{
    return QByteArrayLiteral("ns");
}

QByteArray resetCommand()
{
    return QByteArrayLiteral("j");
}

quint8 answerDigitValue(char byte)
{
    return static_cast<quint8>(hexDigit(byte).value_or(static_cast<unsigned char>(byte)));
}

std::optional<quint8> registerAnswerValue(const QByteArray &answer)
{
    if (answer.size() < kRegisterAnswerBytes)
        return std::nullopt;
    return answerDigitValue(answer.at(5));
}

BulkAnswerFault bulkAnswerFault(const QByteArray &answer)
{
    BulkAnswerFault fault;
    fault.length = answer.size();
    if (answer.size() < kBulkAnswerBytes) {
        fault.kind = BulkAnswerFault::Length;
        return fault;
    }
    for (qsizetype at = kBulkAnswerHeaderBytes; at < kBulkAnswerBytes; ++at) {
        if (!hexDigit(answer.at(at))) {
            fault.kind = BulkAnswerFault::NotHexDigit;
            fault.at = at;
            fault.byte = answer.at(at);
            return fault;
        }
    }
    for (qsizetype at = kBulkAnswerBytes; at < answer.size(); ++at) {
        const char byte = answer.at(at);
        if (byte != kCarriageReturn && byte != '\n' && byte != '\0') {
            fault.kind = BulkAnswerFault::Length;
            return fault;
        }
    }
    return fault;
}

std::optional<DeviceWords> bulkAnswerWords(const QByteArray &answer)
{
    if (bulkAnswerFault(answer).kind != BulkAnswerFault::None)
        return std::nullopt;
    DeviceWords words{};
    for (int w = 0; w < kWordsPerDevice; ++w) {
        int word = 0;
        for (int i = 0; i < 4; ++i)
            word = word * 16 + *hexDigit(answer.at(kBulkAnswerHeaderBytes + 4 * w + i));
        words[static_cast<std::size_t>(w)] = static_cast<quint16>(word);
    }
    return words;
}

PresenceStatus presenceStatus(const QByteArray &answer, int devices)
{
    if (!answer.startsWith("ns"))
        return {PresenceStatus::NoAccess, 0};
    if (answer.size() != kProbeAnswerBytes)
        return {PresenceStatus::NotReady, 0};
    int missing = 0;
    for (int d = 0; d < devices; ++d) {
        if (static_cast<unsigned char>(answer.at(2 + d)) != d)
            missing |= 1 << d;
    }
    return {PresenceStatus::Checked, missing};
}

} // namespace WireProtocol
