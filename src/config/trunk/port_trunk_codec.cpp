#include "config/trunk/port_trunk_codec.h"

#include "config/trunk/trunk_board.h"
#include "image/device_models.h"
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
void parseMappings(ImageState &state, const TrunkBoard &board, int device, int firstWord, int count)
{
    for (int pos = 0; pos < count; ++pos) {
        const quint16 select = state.eepromImage[device][firstWord + pos];
        const int p = state.portMapInverse[8 * device + pos];
        for (int t = 0; t < kTrunks; ++t) {
            if (!board.state().port.trunk[t])
                continue;
            const int member = kMemberOfPosition[select >> (2 * t) & 3];
            state.portTrunkMapping[t][mappingTab(p)][mappingBox(p, member)] = true;
        }
    }
}

} // namespace

void decodePortTrunks(ImageState &state, TrunkBoard &board)
{
    if (state.eepromImage[0][kMethodWord] & kMethodBit)
        return;
    const DeviceModelInfo &model = state.model();
    const int devices = model.chipDevices;
    auto flagged = [&state](int d, int pos) {
        return bool(state.portWords[d][2 * pos] & PortWord::kTrunkPortFlag);
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

    for (auto &trunk : state.portTrunkMapping) {
        for (auto &tab : trunk)
            tab.fill(false);
    }
    for (int d = 0; d < devices; ++d)
        parseMappings(state, board, d, kTrunkTableWord, 8);
    if (model.hasGigabitModule())
        parseMappings(state, board, 3, kSxTrunkWord, 2);

    for (int t = 0; t < kTrunks; ++t) {
        if (board.state().port.trunk[t])
            board.setMappingDone(t, true);
    }
}

void encodePortTrunks(ImageState &state, const TrunkPageState &page)
{
    if (page.method != TrunkMethod::PortBased || !anyTrunk(page))
        return;
    for (int t = 0; t < kTrunks; ++t) {
        if (!page.port.trunk[t])
            continue;
        for (int m = 0; m < kMemberBoxes; ++m) {
            if (page.port.member[t][m]) {
                const int c = state.portMap[memberUserIndex(t, m)];
                PortWord::firstWord(state.portWords, c) |= PortWord::kTrunkPortFlag;
            }
        }
    }
    ImageWords &image = state.eepromImage;
    const bool gigabitModule = state.model().hasGigabitModule();
    if (gigabitModule) {
        for (int w = kSxTrunkWord; w < kSxTrunkWord + 4; ++w)
            image[3][w] = 0;
    }
    for (int t = 0; t < kTrunks; ++t) {
        if (!page.port.trunk[t])
            continue;
        for (int g = 0; g < 4; ++g) {
            for (int j = 0; j < 32; ++j) {
                if (!state.portTrunkMapping[t][g][j])
                    continue;
                const quint16 value = quint16(kMemberChipOffset[j % 4] << (2 * t));
                const int c = state.portMap[8 * g + j / 4];
                const int d = c / 8;
                const int pos = c % 8;
                if (d == kModuleDevice && gigabitModule)
                    image[3][kSxTrunkWord + pos] |= value;
                else
                    image[d][kTrunkTableWord + pos] |= value;
            }
        }
    }
    encodePortTrunkMasks(state, page);
}

} // namespace PortTrunkCodec
