#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// What the window remembers from one run to the next: the model, the port (by the device it
// opens, so that a re-plugged adapter is found again), the ports used last, the folder of the
// last Open or Save and where the window stood.
class Preferences
{
public:
    // The user's settings of the program.
    Preferences();
    // An INI file of its own (tests).
    explicit Preferences(const QString &iniFile);
    ~Preferences();

    int model(int fallback) const;
    void setModel(int model);
    QString portDevice() const;
    void setPortDevice(const QString &device);
    // The devices of the ports used last, the latest first.
    QStringList recentPorts() const;
    void setRecentPorts(const QStringList &devices);
    QString folder() const;
    // The folder of `path`, a file just opened or saved.
    void setFolderOf(const QString &path);
    QByteArray geometry() const;
    void setGeometry(const QByteArray &geometry);

private:
    std::unique_ptr<QSettings> settings_;
};
