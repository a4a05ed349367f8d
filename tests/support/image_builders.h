#pragma once

#include "image/module1.h"

// Images that tests start from.
namespace TestImages
{

// A valid image of the model: signatures on devices 0..2, the model word, and a distinct,
// recognisable value in every other word.
ImageWords validImage(int model);

// A word value that says where it lives, so a misplaced word shows in a comparison.
inline quint16 tagWord(int device, int word)
{
    return static_cast<quint16>(0xA000 | device << 8 | word);
}

} // namespace TestImages
