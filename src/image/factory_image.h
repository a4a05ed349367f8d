#pragma once

#include "image/image_state.h"

// The EEPROM contents a switch of the model leaves the factory with: signatures, the model word,
// default port words, and VLAN masks that let every port reach every other.
ImageWords factoryImage(int model);
