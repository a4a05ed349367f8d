#include "config/trunk/trunk_layout.h"

#include "image/image_state.h"

namespace TrunkLayout
{

std::optional<int> firstMappedMember(const ImageState &state, int trunk, int userIndex)
{
    const auto &tab = state.portTrunkMapping[trunk][mappingTab(userIndex)];
    for (int m = 0; m < kMemberBoxes; ++m) {
        if (tab[mappingBox(userIndex, m)])
            return m;
    }
    return std::nullopt;
}

int macPortUserIndex(int trunk, int box)
{
    const int pair = pairDeviceOf(trunk);
    if (pair == 3)
        return 24 + box;
    return box < 4 ? 4 * pair + box : 12 + 4 * pair + box - 4;
}

int memberUserIndex(int trunk, int member)
{
    // Two ports of the upper row, then the two below them.
    const bool module = isModuleTrunk(trunk);
    const int base = module ? 24 + 2 * (trunk - kFirstModuleTrunk) : 2 * trunk;
    const int row = module ? 4 : 12;
    return base + member % 2 + (member >= 2 ? row : 0);
}

QString portBoxCaption(int userIndex)
{
    return QStringLiteral("Port%1").arg(userIndex + 1, 2);
}

QString trunkCaption(int trunk)
{
    return QStringLiteral("Trunk%1").arg(trunk + 1);
}

const std::array<const char *, kHashMethods> &hashMethodNames()
{
    static const std::array<const char *, kHashMethods> names{"DA+SA crc.", "SA crc.", "DA crc.",
                                                              "DA+SA bits."};
    return names;
}

} // namespace TrunkLayout
