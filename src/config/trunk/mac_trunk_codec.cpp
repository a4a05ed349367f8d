#include "config/trunk/mac_trunk_codec.h"

#include "config/trunk/trunk_board.h"
#include "image/device_models.h"
#include "image/port_word_codec.h"

namespace MacTrunkCodec
{

using namespace TrunkLayout;

namespace
{

quint8 memberByte(const DeviceWords &device0, int trunk)
{
    return quint8(device0[kTrunkTableWord + trunk / 2] >> (8 * (trunk % 2)));
}

bool anyTrunk(const TrunkPageState &page)
{
    for (bool selected : page.mac.trunk) {
        if (selected)
            return true;
    }
    return false;
}

} // namespace

void decodeMacTrunks(const ImageWords &image, TrunkBoard &board)
{
    const bool macBased = image[0][kMethodWord] & kMethodBit;
    board.selectMethod(macBased ? TrunkMethod::MacAddress : TrunkMethod::PortBased);
    if (!macBased)
        return;
    for (int t = 0; t < kTrunks; ++t) {
        const quint8 members = memberByte(image[0], t);
        if (members == 0)
            continue;
        board.setMacTrunk(t, true);
        // Alone in its pair, a trunk starts from its first four ports, and going through the
        // boxes in chip order can refuse to drop the last but one of them before the trunk's own
        // ports are in (ports 4 and 16 of trunk 1 would come back with port 3). A second pass
        // drops what the byte does not hold; a single port still keeps the second one the rules
        // gave it.
        const int passes = board.state().mac.trunk[partnerOf(t)] ? 1 : 2;
        for (int pass = 0; pass < passes; ++pass) {
            for (int k = 0; k < 8; ++k)
                board.setMacPort(t, kChipPortOrder[k], members >> k & 1);
        }
    }
    board.setHashIndex(image[0][kHashWord] & 3);
}

void encodeMacTrunks(ImageState &state, const TrunkPageState &page)
{
    if (page.method != TrunkMethod::MacAddress)
        return;
    ImageWords &image = state.eepromImage;
    const DeviceModelInfo &model = state.model();
    for (int d = 0; d < model.deviceCount; ++d)
        image[d][kMethodWord] |= kMethodBit;
    if (!anyTrunk(page))
        return;

    const quint16 hash =
        page.hashIndex >= 0 && page.hashIndex < kHashMethods ? kHashPatterns[page.hashIndex] : 0;
    for (int d = 0; d < model.chipDevices; ++d) {
        image[d][kHashWord] |= hash;
        image[d][kMacInUseWord2] |= kMacInUseBits2;
        image[d][kMacInUseWord3] |= kMacInUseBits3;
    }

    for (int t = 0; t < kTrunks; ++t) {
        if (!page.mac.trunk[t])
            continue;
        for (int i = 0; i < kMacPortBoxes; ++i) {
            if (!page.mac.port[t][i])
                continue;
            const int c = state.portMap[macPortUserIndex(t, i)];
            image[0][kTrunkTableWord + t / 2] |= quint16(1u << (c % 8 + 8 * (t % 2)));
            PortWord::firstWord(state.portWords, c) |= PortWord::kTrunkPortFlag;
        }
    }
    for (int w = 0; w < 4; ++w) {
        for (int d = 1; d < model.chipDevices; ++d)
            image[d][kTrunkTableWord + w] = image[0][kTrunkTableWord + w];
        if (model.hasGigabitModule())
            image[3][kSxTrunkWord + w] = image[0][kTrunkTableWord + w];
    }
    addMacTrunkVlanMasks(state, page);
}

} // namespace MacTrunkCodec
