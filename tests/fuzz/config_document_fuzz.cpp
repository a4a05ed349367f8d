// Any text given to apply as its document, over the factory image of every model.
#include "config_document.h"
#include "image/device_models.h"
#include "image/factory_image.h"

#include <QJsonDocument>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!document.isObject())
        return 0;
    for (int model = 0; model < kModelCount; ++model) {
        OpenedConfiguration opened(factoryImage(model), model);
        const ConfigDocument::Applied applied =
            ConfigDocument::apply(document.object(), opened.settings());
        // An accepted document is what the written image opens as.
        if (applied.config &&
            !(OpenedConfiguration(opened.encode(*applied.config), model).settings() ==
              *applied.config))
            std::abort();
    }
    return 0;
}
