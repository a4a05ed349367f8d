#pragma once

class ImageState;
class TrunkBoard;
struct TrunkPageState;

// The trunk and VLAN settings between the image and their editors: what the properties dialog
// decodes when it opens and encodes on OK, shared with the command line so that both read and
// write the very same words. portMap must have been built for the model first.
namespace PropertiesCodec
{

// The trunk page's controls from the image (trunks 7 and 8 offered on the 32-port model only,
// the first hash method chosen, then the trunks of the image), and the VLAN group tables.
void decode(ImageState &state, TrunkBoard &trunks);

// Every trunk and VLAN word of the image from the trunk page and the group tables, and the port
// words with their trunk flags. The order matters: the trunk encoders OR their masks into the
// cleared VLAN work table before the groups add theirs, the clearing of the trunk words empties
// the group records before they are written again, and the trunk members' own bits come out of
// the masks only once the masks are complete.
void encode(ImageState &state, const TrunkPageState &trunks);

} // namespace PropertiesCodec
