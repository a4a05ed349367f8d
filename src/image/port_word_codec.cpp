#include "image/port_word_codec.h"

namespace PortWord
{

namespace
{
int firstIndex(int chipPort)
{
    Q_ASSERT(chipPort >= 0 && chipPort < kDeviceSlots * 8);
    return 2 * positionOf(chipPort);
}
} // namespace

quint16 &firstWord(PortWordTable &words, int chipPort)
{
    return words[deviceOf(chipPort)][firstIndex(chipPort)];
}

quint16 &secondWord(PortWordTable &words, int chipPort)
{
    return words[deviceOf(chipPort)][firstIndex(chipPort) + 1];
}

quint16 firstWord(const PortWordTable &words, int chipPort)
{
    return words[deviceOf(chipPort)][firstIndex(chipPort)];
}

quint16 secondWord(const PortWordTable &words, int chipPort)
{
    return words[deviceOf(chipPort)][firstIndex(chipPort) + 1];
}

LinkMode linkMode(quint16 second)
{
    switch (second & kLinkModeMask) {
    case kAutoNegotiationMode:
        return LinkMode::AutoNegotiation;
    case kForcedMode:
        return LinkMode::Forced;
    default:
        return LinkMode::Neither;
    }
}

quint16 withAutoNegotiation(quint16 second)
{
    return static_cast<quint16>((second & ~kModeWriteMask) | kAutoNegotiationMode | kAbilityMask);
}

quint16 withForcedMode(quint16 second)
{
    return static_cast<quint16>((second & ~kModeWriteMask) | kForcedMode);
}

quint16 abilityPattern(RateDuplex choice)
{
    if (choice.rate == Rate::Mbps10)
        return choice.duplex == Duplex::Half ? 0x1 : 0x3;
    return choice.duplex == Duplex::Half ? 0x7 : 0xF;
}

quint16 withAbilities(quint16 second, RateDuplex choice)
{
    return static_cast<quint16>((second & ~kAbilityMask) | abilityPattern(choice));
}

std::optional<RateDuplex> forcedChoice(quint16 second)
{
    if (second & 0x8)
        return RateDuplex{Rate::Mbps100, Duplex::Full};
    if (second & 0x4)
        return RateDuplex{Rate::Mbps100, Duplex::Half};
    if (second & 0x2)
        return RateDuplex{Rate::Mbps10, Duplex::Full};
    if (second & 0x1)
        return RateDuplex{Rate::Mbps10, Duplex::Half};
    return std::nullopt;
}

quint16 asShownFirst(quint16 second)
{
    if (flowControlOn(second))
        second = withFlowControl(second, true);
    if (linkMode(second) == LinkMode::AutoNegotiation)
        return withAutoNegotiation(second);
    if (linkMode(second) == LinkMode::Forced) {
        if (const std::optional<RateDuplex> choice = forcedChoice(second))
            second = withAbilities(second, *choice);
    }
    return second;
}

} // namespace PortWord
