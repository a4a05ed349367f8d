#include "ui/main/port_list.h"

#include <QSignalBlocker>

PortList::PortList(SerialDeviceCatalogue devices, QWidget *parent)
    : QComboBox(parent), devices_(std::move(devices))
{
    refresh();
}

void PortList::refresh()
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

QString PortList::device() const
{
    return currentData().toString();
}

bool PortList::selectDevice(const QString &device)
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

void PortList::showPopup()
{
    refresh();
    QComboBox::showPopup();
}
