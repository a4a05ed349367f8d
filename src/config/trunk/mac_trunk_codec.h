#pragma once

#include "image/image_state.h"

class TrunkBoard;
struct TrunkPageState;

// MAC-address-based trunks in the image: the load-balancing method bit in word 0, one member byte
// per trunk in device 0 words 48..51 (bit k: chip position k of the pair's device, odd trunks in
// the low byte), copied to the other devices, the hash method in word 52 and the trunk flag of
// every member port.
namespace MacTrunkCodec
{

// Decodes the method and the trunks into the page's controls. The controls' rules run as for
// clicks, so contents they would not allow come out as the rules leave them: a trunk keeps two
// ports, and a pair whose trunks are both selected divides all eight ports between them.
void decodeMacTrunks(const ImageWords &image, TrunkBoard &board);

// Sets the trunk words and the member ports' trunk flags (in portWords) for the page, on words
// that clearTrunkSettings has reset, then folds the trunks into the VLAN work table.
void encodeMacTrunks(ImageState &state, const TrunkPageState &page);

// A VLAN group that holds a trunk takes in the trunk's member ports (and only those of the
// trunk's port group): run on the cleared VLAN work table, before the groups' own masks.
void addMacTrunkVlanMasks(ImageState &state, const TrunkPageState &page);
// After the groups' masks are complete: no trunk member forwards to its own trunk. The masks are
// then stored in the image again.
void clearMacTrunkSelfMasks(ImageState &state, const TrunkPageState &page);

} // namespace MacTrunkCodec
