#include "image/device_models.h"

#include <array>

namespace
{

const std::array<DeviceModelInfo, kModelCount> &models()
{
    static const std::array<DeviceModelInfo, kModelCount> table{{
        {QStringLiteral("24 Port N-Way Switch"),
         QStringLiteral("Device Configuration -- Configuration of 24 Port N-Way Switch"),
         QStringLiteral("Properties of 24 Port N-Way Switch"), 0x10C0, 3, 23,
         QStringLiteral(" Error ! This is not 24-Port Binary File ! ")},
        {QStringLiteral("24 Port Switch,1000Base-SX On Board"),
         QStringLiteral(
             "Device Configuration -- Configuration of 24 Port Switch,1000Base-SX On Board"),
         // The dialog caption has a blank after the comma; the list and main caption do not.
         QStringLiteral("Properties of 24 Port Switch, 1000Base-SX On Board"), 0xB1C0, 4, 25,
         QStringLiteral(" Error ! This is not 24-Port,1000SX Binary File ! ")},
        {QStringLiteral("32 Port N-Way Switch"),
         QStringLiteral("Device Configuration -- Configuration of 32 Port N-Way Switch"),
         QStringLiteral("Properties of 32 Port N-Way Switch"), 0x31C0, 4, 31,
         QStringLiteral(" Error ! This is not 32-Port Binary File ! ")},
    }};
    return table;
}

} // namespace

const DeviceModelInfo &deviceModelInfo(int model)
{
    Q_ASSERT(isValidModel(model));
    return models()[static_cast<std::size_t>(model)];
}

std::optional<int> modelForName(const QString &name)
{
    static const char *const names[kModelCount] = {"24", "24sx", "32"};
    const QString lower = name.toLower();
    for (int model = 0; model < kModelCount; ++model) {
        if (lower == QLatin1String(names[model]) || lower == QString::number(model))
            return model;
    }
    return std::nullopt;
}

std::optional<int> modelForWord(quint16 word)
{
    for (int model = 0; model < kModelCount; ++model) {
        if (models()[std::size_t(model)].modelWord == word)
            return model;
    }
    return std::nullopt;
}
