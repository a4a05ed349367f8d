#pragma once

class Module1;

namespace TrunkWords
{

// Resets every trunk word of the image, the trunk flags of the port words and the VLAN group
// records, so that the encoders that follow only need to set bits.
void ClearTrunkSetting(Module1 &module);

} // namespace TrunkWords
