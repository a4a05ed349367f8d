#pragma once

#include "image/image_state.h"

#include <QtGlobal>

// The forwarding mask of a switch port: which chip ports it may send to, as two words. The low
// word holds chip ports 0..15 (bit c), the high word chip ports 16..31 (bit c - 16). In the
// VLAN work table the port at position k of device d owns (d, 2k), its high word, and (d, 2k + 1),
// its low word.
struct PortMask {
    quint16 high = 0;
    quint16 low = 0;

    void add(int chipPort)
    {
        if (chipPort < 16)
            low |= quint16(1u << chipPort);
        else
            high |= quint16(1u << (chipPort - 16));
    }
    bool contains(int chipPort) const
    {
        return chipPort < 16 ? low >> chipPort & 1 : high >> (chipPort - 16) & 1;
    }

    // Adds this mask to the mask of `chipPort` in the work table.
    void orInto(PortWordTable &vlanMap, int chipPort) const
    {
        vlanMap[chipPort / 8][2 * (chipPort % 8)] |= high;
        vlanMap[chipPort / 8][2 * (chipPort % 8) + 1] |= low;
    }
    // Takes this mask out of the mask of `chipPort` in the work table.
    void removeFrom(PortWordTable &vlanMap, int chipPort) const
    {
        vlanMap[chipPort / 8][2 * (chipPort % 8)] &= quint16(~high);
        vlanMap[chipPort / 8][2 * (chipPort % 8) + 1] &= quint16(~low);
    }
};

// The VLAN mask words of the image take the work table: words 29..44 of devices 0..2, and of
// device 3 on the 32-port model; the 1000Base-SX model keeps the masks of its two module ports in
// device 3 words 16..19 (`sxWords` of them: the port-based trunks also rewrite word 20).
void vlanMapToImage(ImageState &state, int sxWords = 4);
// The mask the image holds for `chipPort`, as vlanMapToImage stores it.
PortMask imageMask(const ImageWords &image, int chipPort, bool gigabitModule);
