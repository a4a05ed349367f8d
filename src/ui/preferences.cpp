#include "ui/preferences.h"

#include <QFileInfo>
#include <QSettings>

namespace
{

const QString kModel = QStringLiteral("model");
const QString kPort = QStringLiteral("port");
const QString kRecentPorts = QStringLiteral("recentPorts");
const QString kFolder = QStringLiteral("folder");
const QString kGeometry = QStringLiteral("geometry");

} // namespace

Preferences::Preferences() : settings_(std::make_unique<QSettings>()) {}

Preferences::Preferences(const QString &iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

Preferences::~Preferences() = default;

int Preferences::model(int fallback) const
{
    bool ok = false;
    const int model = settings_->value(kModel).toInt(&ok);
    return ok ? model : fallback;
}

void Preferences::setModel(int model)
{
    settings_->setValue(kModel, model);
}

QString Preferences::portDevice() const
{
    return settings_->value(kPort).toString();
}

void Preferences::setPortDevice(const QString &device)
{
    settings_->setValue(kPort, device);
}

QStringList Preferences::recentPorts() const
{
    return settings_->value(kRecentPorts).toStringList();
}

void Preferences::setRecentPorts(const QStringList &devices)
{
    settings_->setValue(kRecentPorts, devices);
}

QString Preferences::folder() const
{
    return settings_->value(kFolder).toString();
}

void Preferences::setFolderOf(const QString &path)
{
    settings_->setValue(kFolder, QFileInfo(path).absolutePath());
}

QByteArray Preferences::geometry() const
{
    return settings_->value(kGeometry).toByteArray();
}

void Preferences::setGeometry(const QByteArray &geometry)
{
    settings_->setValue(kGeometry, geometry);
}
