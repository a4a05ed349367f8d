#include "config/trunk/port_trunk_codec.h"

#include "config/trunk/trunk_board.h"
#include "image/port_word_codec.h"

namespace PortTrunkCodec
{

using namespace TrunkLayout;

namespace
{

bool anyTrunk(const TrunkPageState &page)
{
    for (bool selected : page.port.trunk) {
        if (selected)
            return true;
    }
    return false;
}

// The select words of one device: chip ports 8d + pos for pos < count, from `firstWord` on.
void parseMappings(Module1 &module, const TrunkBoard &board, int device, int firstWord, int count)
{
    for (int pos = 0; pos < count; ++pos) {
        const quint16 select = module.EepromImage[device][firstWord + pos];
        const int p = module.PortMapInverse[8 * device + pos];
        for (int t = 0; t < kTrunks; ++t) {
            if (!board.state().port.trunk[t])
                continue;
            const int member = kMemberOfPosition[select >> (2 * t) & 3];
            module.PortTrunkMapping[t][p / 8][4 * (p % 8) + member] = true;
        }
    }
}

} // namespace

void ParsePortTrunkSetting(Module1 &module, TrunkBoard &board)
{
    if (module.EepromImage[0][kMethodWord] & kMethodBit)
        return;
    const int devices = module.Is32Port ? 4 : 3;
    auto flagged = [&module](int d, int pos) {
        return bool(module.PortWords[d][2 * pos] & PortWord::kTrunkPortFlag);
    };
    for (int d = 0; d < devices; ++d) {
        for (int pos = 0; pos < 8; ++pos) {
            if (flagged(d, pos))
                board.setPortTrunk(2 * d + pos / 4, true);
        }
    }
    for (int d = 0; d < devices; ++d) {
        for (int pos = 0; pos < 8; ++pos)
            board.setMember(2 * d + pos / 4, kMemberOfPosition[pos], flagged(d, pos));
    }

    for (auto &trunk : module.PortTrunkMapping) {
        for (auto &tab : trunk)
            tab.fill(false);
    }
    for (int d = 0; d < 3; ++d)
        parseMappings(module, board, d, kTrunkTableWord, 8);
    if (module.Is32Port)
        parseMappings(module, board, 3, kTrunkTableWord, 8);
    if (module.Is1000SX)
        parseMappings(module, board, 3, kSxTrunkWord, 2);

    for (int t = 0; t < kTrunks; ++t) {
        if (board.state().port.trunk[t])
            board.setMappingDone(t, true);
    }
}

void PortTrunkToEEBuf(Module1 &module, const TrunkPageState &page)
{
    if (page.method != TrunkMethod::PortBased || !anyTrunk(page))
        return;
    for (int t = 0; t < kTrunks; ++t) {
        if (!page.port.trunk[t])
            continue;
        for (int m = 0; m < kMemberBoxes; ++m) {
            if (page.port.member[t][m]) {
                const int c = module.PortMap[memberUserIndex(t, m)];
                PortWord::firstWord(module.PortWords, c) |= PortWord::kTrunkPortFlag;
            }
        }
    }
    ImageWords &image = module.EepromImage;
    if (module.Is1000SX) {
        for (int w = kSxTrunkWord; w < kSxTrunkWord + 4; ++w)
            image[3][w] = 0;
    }
    for (int t = 0; t < kTrunks; ++t) {
        if (!page.port.trunk[t])
            continue;
        for (int g = 0; g < 4; ++g) {
            for (int j = 0; j < 32; ++j) {
                if (!module.PortTrunkMapping[t][g][j])
                    continue;
                const quint16 value = quint16(kMemberChipOffset[j % 4] << (2 * t));
                const int c = module.PortMap[8 * g + j / 4];
                const int d = c / 8;
                const int pos = c % 8;
                if (d == 3 && module.Is1000SX)
                    image[3][kSxTrunkWord + pos] |= value;
                else
                    image[d][kTrunkTableWord + pos] |= value;
            }
        }
    }
    PortTrunkVLANMap(module, page);
}

} // namespace PortTrunkCodec
