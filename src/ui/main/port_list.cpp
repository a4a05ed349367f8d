#include "ui/main/port_list.h"

#include <QSignalBlocker>

PortListBox::PortListBox(SerialDeviceCatalogue devices, QWidget *parent)
    : QComboBox(parent), devices_(std::move(devices))
{
    refresh();
}

void PortListBox::refresh()
{
    const QString selected = device();
    {
        // Rebuilding is not a choice of the user's.
        const QSignalBlocker blocker(this);
        clear();
        for (const PortChoice &choice :
             portChoices(devices_ ? devices_() : std::vector<SerialDeviceInfo>{}))
            addItem(choice.label, choice.device);
    }
    if (!selectDevice(selected))
        setCurrentIndex(0);
}

QString PortListBox::device() const
{
    return currentData().toString();
}

bool PortListBox::selectDevice(const QString &device)
{
    if (device.isEmpty())
        return false;
    int index = findData(device);
    if (index < 0) {
        const QSignalBlocker blocker(this);
        addItem(QStringLiteral("%1. %2").arg(count() + 1).arg(device), device);
        index = count() - 1;
    }
    setCurrentIndex(index);
    return true;
}

void PortListBox::showPopup()
{
    refresh();
    QComboBox::showPopup();
}
