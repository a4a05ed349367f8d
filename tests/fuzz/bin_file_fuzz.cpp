// A *.bin file of any bytes, loaded for every model.
#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/factory_image.h"

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The file lives in memory, so that load() runs its whole path without touching the disk.
    static const int fd = memfd_create("swcfg-bin", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size))
        std::abort();
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (int model = 0; model < kModelCount; ++model) {
        const ImageWords base = factoryImage(model);
        const ImageWords image = BinFile::decode(bytes, model, base);
        // The signature and the model word are judged first; a short file of this model is
        // refused as damaged contents.
        const bool whole = bytes.size() >= BinFile::fileSizeFor(model);
        BinFile::Verdict verdict = BinFile::check(image, model);
        if (verdict == BinFile::Verdict::Accepted && !whole)
            verdict = BinFile::Verdict::ContentsError;
        const BinFile::Loaded loaded = BinFile::load(path, model, base);
        if (loaded.image.has_value() != (verdict == BinFile::Verdict::Accepted) ||
            (loaded.image && *loaded.image != image) ||
            loaded.error != BinFile::verdictMessage(verdict, model))
            std::abort();
        if (BinFile::decode(BinFile::encode(image, model), model, base) != image)
            std::abort();
    }
    return 0;
}
