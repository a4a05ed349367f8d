#include "image/port_map.h"

#include "image/module1.h"

namespace PortNumbers
{

int chipPortOf(int userIndex, bool is1000SX)
{
    if (is1000SX && (userIndex == 24 || userIndex == 25))
        return userIndex;
    if (userIndex < 12)
        return 2 * userIndex + 1;
    if (userIndex < 24)
        return 2 * (userIndex - 12);
    if (userIndex < 28)
        return 2 * (userIndex - 24) + 25;
    return 2 * (userIndex - 28) + 24;
}

void buildPortMaps(Module1 &module)
{
    for (int i = 0; i < kUserPortCount; ++i)
        module.PortMap[i] = chipPortOf(i, false);
    for (int k = 0; k < 12; ++k) {
        module.PortMapInverse[2 * k] = k + 12;
        module.PortMapInverse[2 * k + 1] = k;
    }
    for (int k = 0; k < 4; ++k) {
        module.PortMapInverse[24 + 2 * k] = k + 28;
        module.PortMapInverse[25 + 2 * k] = k + 24;
    }
    if (module.Is1000SX) {
        for (int i : {24, 25}) {
            module.PortMap[i] = i;
            module.PortMapInverse[i] = i;
        }
    }
}

} // namespace PortNumbers
