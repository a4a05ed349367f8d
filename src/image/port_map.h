#pragma once

class ImageState;

// Front-panel ("user") port numbers and chip ports. User ports 1 to 12 sit on the odd chip ports
// of devices 0..2 and 13 to 24 on the even ones; on device 3, 25 to 28 on the odd and 29 to 32
// on the even positions. The 1000Base-SX model wires user ports 25 and 26 straight to chip ports
// 24 and 25, its two gigabit ports.
namespace PortNumbers
{

// Chip port of user port index 0..31 (user port 1..32).
int chipPortOf(int userIndex, bool gigabitModule);

// Fills ImageState::portMap and ImageState::portMapInverse for the state's model.
// Entry 32 of both is left alone. On the 1000Base-SX model the inverse keeps its 32-port entries 26
// and 27 (29 and 25), which no port of that model reaches.
void buildPortMaps(ImageState &state);

} // namespace PortNumbers
