#include "image/port_map.h"

#include "image/device_models.h"
#include "image/image_state.h"

namespace PortNumbers
{

int chipPortOf(int userIndex, bool gigabitModule)
{
    if (gigabitModule && (userIndex == 24 || userIndex == 25))
        return userIndex;
    if (userIndex < 12)
        return 2 * userIndex + 1;
    if (userIndex < 24)
        return 2 * (userIndex - 12);
    if (userIndex < 28)
        return 2 * (userIndex - 24) + 25;
    return 2 * (userIndex - 28) + 24;
}

void buildPortMaps(ImageState &state)
{
    for (int i = 0; i < kUserPortCount; ++i)
        state.portMap[i] = chipPortOf(i, false);
    for (int k = 0; k < 12; ++k) {
        state.portMapInverse[2 * k] = k + 12;
        state.portMapInverse[2 * k + 1] = k;
    }
    for (int k = 0; k < 4; ++k) {
        state.portMapInverse[24 + 2 * k] = k + 28;
        state.portMapInverse[25 + 2 * k] = k + 24;
    }
    if (state.model().hasGigabitModule()) {
        for (int i : {24, 25}) {
            state.portMap[i] = i;
            state.portMapInverse[i] = i;
        }
    }
}

} // namespace PortNumbers
