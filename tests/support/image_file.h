#pragma once

#include "image/bin_file.h"
#include "support/files.h"

#include <QTemporaryDir>

// `image` saved as a *.bin file of `model` named `name` in `dir`; its path.
inline QString writeImageFile(const QTemporaryDir &dir, const QString &name, const ImageWords &image,
                              int model)
{
    putFile(dir.filePath(name), BinFile::encode(image, model));
    return dir.filePath(name);
}
