#pragma once

#include "image/image_state.h"

class TrunkBoard;
struct TrunkPageState;

// Port-based trunks in the image. Trunk n occupies chip ports 4(n - 1)..4(n - 1) + 3; a member
// port carries the trunk flag in its first port word, and every chip port has a select word
// (device d, word 48 + position; on the 1000Base-SX module words 21 and 22) holding, two bits per
// trunk, the chip offset of the member through which it sends to that trunk.
namespace PortTrunkCodec
{

// Decodes the trunks, their members and their mappings (into ImageState::portTrunkMapping) under
// port-based load balancing; the page's rules run as for clicks. A decoded trunk's mapping is
// complete.
void decodePortTrunks(ImageState &state, TrunkBoard &board);

// Sets the member flags and the select words of the trunks in use, on words that
// clearTrunkSettings has reset, then builds the forwarding masks the mappings imply.
void encodePortTrunks(ImageState &state, const TrunkPageState &page);

// Every port reaches the ports of its VLAN groups (or, in none, the other such ports) and, of each
// trunk it may use, only the member its mapping names. The masks are stored in the image.
void encodePortTrunkMasks(ImageState &state, const TrunkPageState &page);
// Adds to the mask of user port `userIndex` the member that its mapping names for `trunk`
// (member box 0 when the mapping names none).
void addMappedMember(ImageState &state, int trunk, int userIndex);

} // namespace PortTrunkCodec
