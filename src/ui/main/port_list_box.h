#pragma once

#include "link/port_catalogue.h"

#include <QComboBox>
#include <QStringList>

#include <optional>

// The "RS232 COM Port" list: "1. COM1" to "8. COM8", then the serial devices the system reports,
// asked afresh each time the list is opened so that an adapter plugged in later appears, then the
// ports used last that none of those opens. Each entry keeps the device it opens (its tooltip
// says which); the selection follows its device through a refresh. Any other port can be typed
// in: a device path, a name the system lists, COMn, tcp://HOST:PORT or rfc2217://HOST:PORT.
class PortListBox : public QComboBox
{
    Q_OBJECT

public:
    // At most this many ports used last are kept.
    static constexpr int kRecentPorts = 8;

    PortListBox(SerialDeviceCatalogue devices, QWidget *parent = nullptr);

    // Builds the entries anew; the device selected stays selected, listed on its own when the
    // system no longer reports it (an adapter unplugged for a moment).
    void refresh();
    // The device of the selected entry.
    QString device() const;
    // Selects the entry of `device`, adding one for it when none opens it (a device remembered
    // from an earlier run, or typed in). False for an empty name.
    bool selectDevice(const QString &device);
    // The text typed over the selected entry, if any, becomes the selection: nothing when it did
    // (or nothing was typed), otherwise why it names no port. A refused entry stays typed.
    std::optional<QString> takeTypedEntry();

    // The devices of the ports used last, the latest first.
    QStringList recentDevices() const { return recent_; }
    void setRecentDevices(const QStringList &devices);
    // `device` was just used: first among the ports used last.
    void noteUsed(const QString &device);

    // Opening the list asks for the devices again.
    void showPopup() override;

private:
    void addEntry(const QString &label, const QString &device, const QString &variable = {});
    std::vector<SerialDeviceInfo> foundDevices() const;

    SerialDeviceCatalogue devices_;
    QStringList recent_;
};
