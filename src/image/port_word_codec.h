#pragma once

#include "image/image_state.h"

#include <QtGlobal>

#include <optional>
#include <tuple>

// The two setting words of a switch port: what each bit means and how a setting is written into
// a word without disturbing the bits around it. Which control writes what, and when, is the
// port page's business; this file only knows the layout.
namespace PortWord
{

// First word.
constexpr quint16 kLearningDisabled = 0x0010;
constexpr quint16 kSecurity = 0x0040;
constexpr quint16 kStormControl = 0x0080;
constexpr quint16 kTrunkPortFlag = 0x0200; // owned by the trunk encoders

// Second word.
constexpr quint16 kAbilityMask = 0x000F;
constexpr quint16 kLinkModeMask = 0x00C0;
constexpr quint16 kModeWriteMask = 0x03C0; // bits 8 and 9 go with every write of the mode
constexpr quint16 kAutoNegotiationMode = 0x0040;
constexpr quint16 kForcedMode = 0x00C0;
constexpr quint16 kFlowControlBits = 0x0C00;    // written together
constexpr quint16 kFlowControlTestBit = 0x0800; // the one a decode looks at

enum class Rate { Mbps10, Mbps100 };
enum class Duplex { Half, Full };
enum class LinkMode { AutoNegotiation, Forced, Neither };

struct RateDuplex {
    Rate rate;
    Duplex duplex;
    bool operator==(const RateDuplex &other) const
    {
        return std::tie(rate, duplex) == std::tie(other.rate, other.duplex);
    }
};

// The port's words in the working table. A chip port c is position c % 8 of device c / 8.
constexpr int deviceOf(int chipPort)
{
    return chipPort / 8;
}
constexpr int positionOf(int chipPort)
{
    return chipPort % 8;
}
quint16 &firstWord(PortWordTable &words, int chipPort);
quint16 &secondWord(PortWordTable &words, int chipPort);
quint16 firstWord(const PortWordTable &words, int chipPort);
quint16 secondWord(const PortWordTable &words, int chipPort);

// `word` with the bits of `mask` set or cleared.
constexpr quint16 withBits(quint16 word, quint16 mask, bool set)
{
    return static_cast<quint16>(set ? word | mask : word & ~mask);
}

constexpr bool securityOn(quint16 first)
{
    return first & kSecurity;
}
constexpr bool learningOn(quint16 first)
{
    return !(first & kLearningDisabled);
}
constexpr bool stormControlOn(quint16 first)
{
    return first & kStormControl;
}
constexpr bool flowControlOn(quint16 second)
{
    return second & kFlowControlTestBit;
}

constexpr quint16 withSecurity(quint16 first, bool on)
{
    return withBits(first, kSecurity, on);
}
constexpr quint16 withLearning(quint16 first, bool on)
{
    return withBits(first, kLearningDisabled, !on);
}
constexpr quint16 withStormControl(quint16 first, bool on)
{
    return withBits(first, kStormControl, on);
}
constexpr quint16 withFlowControl(quint16 second, bool on)
{
    return withBits(second, kFlowControlBits, on);
}

LinkMode linkMode(quint16 second);
// Auto-negotiation advertising all four abilities.
quint16 withAutoNegotiation(quint16 second);
// Forced rate and duplex; the ability bits are left to the rate and duplex choice.
quint16 withForcedMode(quint16 second);

// The abilities hold the chosen combination and every one below it: 1, 3, 7 or 15.
quint16 abilityPattern(RateDuplex choice);
quint16 withAbilities(quint16 second, RateDuplex choice);
// The forced choice a word stands for: its highest ability bit; none when no bit is set.
std::optional<RateDuplex> forcedChoice(quint16 second);

// A freshly opened port page shows its first port by setting its controls one after another, and
// the rules those changes run write back into the second word: the flow-control bits are
// completed when the tested one is set, an auto-negotiating port advertises every ability, and a
// forced port holds the pattern of its highest ability. The first word comes back as it was.
quint16 asShownFirst(quint16 second);

} // namespace PortWord
