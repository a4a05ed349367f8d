#include "config/port_board.h"

using namespace PortWord;

namespace
{

struct LinkChoice {
    LinkSetting setting;
    RateDuplex choice;
};
const LinkChoice kForcedLinks[] = {
    {LinkSetting::Full100, {Rate::Mbps100, Duplex::Full}},
    {LinkSetting::Half100, {Rate::Mbps100, Duplex::Half}},
    {LinkSetting::Full10, {Rate::Mbps10, Duplex::Full}},
    {LinkSetting::Half10, {Rate::Mbps10, Duplex::Half}},
};

LinkSetting linkOf(quint16 second)
{
    if (linkMode(second) == LinkMode::AutoNegotiation)
        return LinkSetting::Auto;
    const std::optional<RateDuplex> choice = forcedChoice(second);
    for (const LinkChoice &link : kForcedLinks) {
        if (choice && link.choice == *choice)
            return link.setting;
    }
    return LinkSetting::Half10; // no ability at all: the slowest
}

RateDuplex choiceOf(LinkSetting link)
{
    for (const LinkChoice &forced : kForcedLinks) {
        if (forced.setting == link)
            return forced.choice;
    }
    return kForcedLinks[0].choice;
}

} // namespace

PortBoard::PortBoard(ImageState &state) : state_(state) {}

// The port shown is the one whose words the rules write.
quint16 &PortBoard::firstWord()
{
    return PortWord::firstWord(state_.portWords, state_.portMap[shownPort_]);
}

quint16 &PortBoard::secondWord()
{
    return PortWord::secondWord(state_.portWords, state_.portMap[shownPort_]);
}

void PortBoard::showPort(int userIndex)
{
    shownPort_ = userIndex;
    // Each setter below may write to the port shown: the words are read at fixed points, not
    // after every change.
    const quint16 first = firstWord();
    const bool secured = securityOn(first);
    setSecurity(secured);
    setLearning(!secured);
    if (!secured)
        setLearning(learningOn(first));
    setStormControl(stormControlOn(first));

    const quint16 second = secondWord();
    setFlowControl(flowControlOn(second));
    if (linkMode(second) == LinkMode::AutoNegotiation) {
        setAutoNegotiation(true);
        controls_.rateDuplexEnabled = false;
        controls_.rate.reset();
        controls_.duplex.reset();
    } else {
        setAutoNegotiation(false);
        controls_.rateDuplexEnabled = true;
    }
    if (linkMode(second) != LinkMode::Forced)
        return;
    if (const std::optional<RateDuplex> choice = forcedChoice(second)) {
        selectRate(choice->rate);
        selectDuplex(choice->duplex);
    }
}

void PortBoard::setSecurity(bool on)
{
    if (controls_.security == on)
        return;
    // The learning box of a secured port is cleared and locked.
    PortSettings port;
    port.security = controls_.security;
    port.learning = controls_.learning;
    secure(port, on);
    controls_.security = on;
    controls_.learningEnabled = !on;
    setLearning(port.learning);
    firstWord() = withSecurity(firstWord(), on);
}

void PortBoard::setLearning(bool on)
{
    if (controls_.learning == on)
        return;
    controls_.learning = on;
    firstWord() = withLearning(firstWord(), on);
}

void PortBoard::setStormControl(bool on)
{
    if (controls_.stormControl == on)
        return;
    controls_.stormControl = on;
    firstWord() = withStormControl(firstWord(), on);
}

void PortBoard::setFlowControl(bool on)
{
    if (controls_.flowControl == on)
        return;
    controls_.flowControl = on;
    secondWord() = withFlowControl(secondWord(), on);
}

void PortBoard::setAutoNegotiation(bool on)
{
    if (controls_.autoNegotiation == on)
        return;
    controls_.autoNegotiation = on;
    controls_.rateDuplexPanelEnabled = !on;
    if (on) {
        controls_.rate.reset();
        controls_.duplex.reset();
        controls_.rateDuplexEnabled = false;
        secondWord() = withAutoNegotiation(secondWord());
        state_.phyUpdatePending = true;
        return;
    }
    // Leaving auto-negotiation starts from the fastest forced setting.
    controls_.rateDuplexEnabled = true;
    selectRate(Rate::Mbps100);
    selectDuplex(Duplex::Full);
    secondWord() = withForcedMode(secondWord());
}

void PortBoard::selectRate(Rate rate)
{
    if (controls_.rate == rate)
        return;
    controls_.rate = rate;
    writeRateDuplex();
}

void PortBoard::selectDuplex(Duplex duplex)
{
    if (controls_.duplex == duplex)
        return;
    controls_.duplex = duplex;
    writeRateDuplex();
}

void PortBoard::writeRateDuplex()
{
    // A frame without a selection counts as its fastest choice.
    const RateDuplex choice{controls_.rate.value_or(Rate::Mbps100),
                            controls_.duplex.value_or(Duplex::Full)};
    secondWord() = withAbilities(secondWord(), choice);
    state_.phyUpdatePending = true;
}

void PortBoard::secure(PortSettings &port, bool on)
{
    if (on && !port.security)
        port.learning = false;
    port.security = on;
}

PortSettings PortBoard::settingsOf(const PortWordTable &words, int chipPort)
{
    const quint16 first = PortWord::firstWord(words, chipPort);
    const quint16 second = PortWord::secondWord(words, chipPort);
    PortSettings port;
    port.security = securityOn(first);
    port.learning = !port.security && learningOn(first);
    port.stormControl = stormControlOn(first);
    port.flowControl = flowControlOn(second);
    port.link = linkOf(second);
    return port;
}

void PortBoard::changeSettings(PortWordTable &words, int chipPort, const PortSettings &from,
                               const PortSettings &to)
{
    const bool securing = to.security && !from.security;
    PortSettings next = from;
    secure(next, to.security);
    if (!securing)
        next.learning = to.learning;
    quint16 &first = PortWord::firstWord(words, chipPort);
    quint16 &second = PortWord::secondWord(words, chipPort);
    if (next.security != from.security)
        first = withSecurity(first, next.security);
    if (securing || next.learning != from.learning)
        first = withLearning(first, next.learning);
    if (to.stormControl != from.stormControl)
        first = withStormControl(first, to.stormControl);
    if (to.flowControl != from.flowControl)
        second = withFlowControl(second, to.flowControl);
    if (to.link != from.link) {
        if (to.link == LinkSetting::Auto)
            second = withAutoNegotiation(second);
        else
            second = withForcedMode(withAbilities(second, choiceOf(to.link)));
    }
}
