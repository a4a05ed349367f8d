#pragma once

class ImageState;

namespace TrunkWords
{

// Resets every trunk word of the image, the trunk flags of the port words and the VLAN group
// records, so that the encoders that follow only need to set bits.
void clearTrunkSettings(ImageState &state);

} // namespace TrunkWords
