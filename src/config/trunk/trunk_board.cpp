#include "config/trunk/trunk_board.h"

#include "config/trunk/trunk_texts.h"

#include <algorithm>

namespace T = TrunkTexts;

namespace
{

// Decoding and the command line run the rules without a window: they never meet a question.
class NoHost : public TrunkPageHost
{
public:
    bool askYesNo(const QString &, const QString &) override { return false; }
    void showExclamation(const QString &) override {}
    void removeAllVlanGroups() override {}
};

} // namespace

TrunkBoard::TrunkBoard(TrunkPageHost *host) : host_(host)
{
    static NoHost noHost;
    if (!host_)
        host_ = &noHost;
    // A new page: every trunk box can be chosen; the rest waits for a trunk.
    state_.mac.trunkEnabled.fill(true);
    state_.port.trunkEnabled.fill(true);
}

void TrunkBoard::enableModuleTrunks(bool moduleTrunks)
{
    for (int trunk = TrunkLayout::kFirstModuleTrunk; trunk < TrunkLayout::kTrunks; ++trunk) {
        state_.mac.trunkEnabled[trunk] = moduleTrunks;
        state_.port.trunkEnabled[trunk] = moduleTrunks;
    }
}

void TrunkBoard::setHashIndex(int index)
{
    state_.hashIndex = index;
}

bool TrunkBoard::anyPortTrunk() const
{
    const auto &trunks = state_.port.trunk;
    return std::find(trunks.begin(), trunks.end(), true) != trunks.end();
}

bool TrunkBoard::anyMacTrunk() const
{
    const auto &trunks = state_.mac.trunk;
    return std::find(trunks.begin(), trunks.end(), true) != trunks.end();
}

int TrunkBoard::unfinishedMapping() const
{
    for (int t = 0; t < TrunkLayout::kTrunks; ++t) {
        if (state_.port.trunk[t] && !state_.port.mappingDone[t])
            return t;
    }
    return -1;
}

void TrunkBoard::selectMethod(TrunkMethod method)
{
    // The two buttons are exclusive: selecting one clears the other, which runs nothing.
    if (method == TrunkMethod::Unset || state_.method == method)
        return;
    state_.method = method;
    if (method == TrunkMethod::MacAddress)
        macMethodRule();
    else
        portMethodRule();
}

void TrunkBoard::macMethodRule()
{
    showTab(1);
    state_.hashEnabled = true;
}

void TrunkBoard::portMethodRule()
{
    showTab(0);
    // The hash method list is left as it is.
    for (int t = 0; t < TrunkLayout::kTrunks; ++t) {
        if (state_.port.trunk[t])
            state_.port.mappingEnabled[t] = true;
    }
}

void TrunkBoard::showTab(int tab)
{
    if (state_.shownTab == tab)
        return;
    state_.shownTab = tab;
    tabRule();
}

// The shown tab and the method follow each other; trunks of the other method are given up only
// after a question, and an unfinished port mapping keeps the port-based tab in front.
void TrunkBoard::tabRule()
{
    selectMethod(state_.shownTab == 0 ? TrunkMethod::PortBased : TrunkMethod::MacAddress);

    if (state_.shownTab == 1 && anyPortTrunk()) {
        if (host_->askYesNo(QString::fromLatin1(T::kOneMethodQuestion),
                            QString::fromLatin1(T::kOneMethodConsequence))) {
            for (int t = 0; t < TrunkLayout::kTrunks; ++t)
                setPortTrunk(t, false);
            state_.port.mappingDone.fill(false);
            host_->removeAllVlanGroups();
        } else {
            showTab(0);
        }
        const int unfinished = unfinishedMapping();
        if (unfinished >= 0) {
            showTab(0);
            host_->showExclamation(QString::fromLatin1(!TrunkLayout::isModuleTrunk(unfinished)
                                                           ? T::kFinishMapping
                                                           : T::kFinishMappingOfModuleTrunk));
            return;
        }
    }

    if (state_.shownTab == 0 && anyMacTrunk()) {
        if (host_->askYesNo(QString::fromLatin1(T::kOneMethodQuestion),
                            QString::fromLatin1(T::kOneMethodConsequence))) {
            for (int t = 0; t < TrunkLayout::kTrunks; ++t)
                setMacTrunk(t, false);
            host_->removeAllVlanGroups();
        } else {
            showTab(1);
        }
    }
}
