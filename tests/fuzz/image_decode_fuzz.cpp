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
    // OK with nothing changed. An image no switch of the model holds (trunks 7 and 8 on a 24-port
    // model) is tidied into another one, as the dialog always has, so only the way there is
    // checked.
    opened.encode(settings);
    return 0;
}
