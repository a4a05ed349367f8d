#include "image/device_models.h"

#include <array>

namespace
{

const std::array<DeviceModelInfo, kModelCount> &models()
{
    static const std::array<DeviceModelInfo, kModelCount> table{{
        {Model24NWay, QStringLiteral("24 Port N-Way Switch"),
         QStringLiteral("Device Configuration -- Configuration of 24 Port N-Way Switch"),
         QStringLiteral("Properties of 24 Port N-Way Switch"), QStringLiteral("24"), 0x10C0, 3, 3,
         24, 23, ModuleKind::None, 0, false,
         QStringLiteral(" Error ! This is not 24-Port Binary File ! ")},
        {Model24Sx, QStringLiteral("24 Port Switch,1000Base-SX On Board"),
         QStringLiteral(
             "Device Configuration -- Configuration of 24 Port Switch,1000Base-SX On Board"),
         // The dialog caption has a blank after the comma; the list and main caption do not.
         QStringLiteral("Properties of 24 Port Switch, 1000Base-SX On Board"),
         QStringLiteral("24sx"), 0xB1C0, 4, 3, 24, 25, ModuleKind::GigabitFiber, 6, false,
         QStringLiteral(" Error ! This is not 24-Port,1000SX Binary File ! ")},
        {Model32NWay, QStringLiteral("32 Port N-Way Switch"),
         QStringLiteral("Device Configuration -- Configuration of 32 Port N-Way Switch"),
         QStringLiteral("Properties of 32 Port N-Way Switch"), QStringLiteral("32"), 0x31C0, 4, 4,
         32, 31, ModuleKind::EightPort, 3, true,
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
    const QString lower = name.toLower();
    for (int model = 0; model < kModelCount; ++model) {
        if (lower == models()[std::size_t(model)].commandLineName ||
            lower == QString::number(model))
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
