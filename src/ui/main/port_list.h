#pragma once

#include "link/port_catalogue.h"

#include <QComboBox>

// The "RS232 COM Port" list: "1. COM1" to "8. COM8", then the serial devices the system reports,
// asked afresh each time the list is opened so that an adapter plugged in later appears. Each
// entry keeps the device it opens; the selection follows its device through a refresh.
class PortListBox : public QComboBox
{
    Q_OBJECT

public:
    PortListBox(SerialDeviceCatalogue devices, QWidget *parent = nullptr);

    // Builds the entries anew; the device selected stays selected, listed on its own when the
    // system no longer reports it (an adapter unplugged for a moment).
    void refresh();
    // The device of the selected entry.
    QString device() const;
    // Selects the entry of `device`, adding one for it when none opens it (a device remembered
    // from an earlier run). False for an empty name.
    bool selectDevice(const QString &device);
    // Opening the list asks for the devices again.
    void showPopup() override;

private:
    SerialDeviceCatalogue devices_;
};
