#pragma once

#include "image/image_state.h"

#include <QString>

#include <optional>

// *.bin files as the simulator reads and writes them: word for word, nothing cleared or checked,
// since they stand for the EEPROM chips themselves.
namespace EepromFiles
{

// The blocks of the model's devices; a file shorter than that is refused.
std::optional<ImageWords> read(const QString &path, int model, QString &error);

// Replaces the file atomically with the blocks of the model's devices.
bool write(const QString &path, const ImageWords &image, int model, QString &error);
// The same for the state file saved after every change: atomic, but not waited for on the disk.
bool writeState(const QString &path, const ImageWords &image, int model, QString &error);

} // namespace EepromFiles
