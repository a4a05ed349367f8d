// Any image opened as the properties dialog and show open it, then OK'd.
#include "config_document.h"
#include "config_report.h"
#include "image/bin_file.h"
#include "image/device_models.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The model the image names, as a file is opened; any other model word picks one, so that
    // every model also meets images made for another.
    const quint16 modelWord = BinFile::decode(bytes, 0, ImageWords{})[0][BinFile::kModelWord];
    int model = modelWord % kModelCount;
    for (int m = 0; m < kModelCount; ++m) {
        if (deviceModelInfo(m).modelWord == modelWord)
            model = m;
    }
    const ImageWords image = BinFile::decode(bytes, model, ImageWords{});
    OpenedConfiguration opened(image, model);
    const SwitchConfiguration settings = opened.settings();
    ConfigReport::describe(settings, image);
    ConfigDocument::fromConfiguration(settings);
    // OK with nothing changed, then the dialog opened again on what it wrote and OK'd: the second
    // OK changes nothing. An image no switch of the model holds may be tidied by the first OK; the
    // bytes of trunks 7 and 8 on the 1000Base-SX model go on changing with each OK, as the dialog
    // always has (the model numbers ports 25 and 26 apart from the order the bytes are read in).
    const ImageWords once = opened.encode(settings);
    OpenedConfiguration again(once, model);
    if (again.encode(again.settings()) != once && !(model == Model24Sx && once[0][51] != 0))
        std::abort();
    return 0;
}
