#include "ui/main/port_list_box.h"

#include "link/com_ports.h"
#include "link/transports.h"
#include "ui/main/main_window_texts.h"

#include <QLineEdit>
#include <QSignalBlocker>

PortListBox::PortListBox(SerialDeviceCatalogue devices, QWidget *parent)
    : QComboBox(parent), devices_(std::move(devices))
{
    setEditable(true);
    // A typed entry is checked before it joins the list, and a device path typed in is not to be
    // completed into "1. COM1".
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->setPlaceholderText(QString::fromLatin1(MainWindowTexts::kPortPlaceholder));
    refresh();
}

std::vector<SerialDeviceInfo> PortListBox::foundDevices() const
{
    return devices_ ? devices_() : std::vector<SerialDeviceInfo>{};
}

void PortListBox::addEntry(const QString &label, const QString &device, const QString &variable)
{
    addItem(label, device);
    setItemData(count() - 1, MainWindowTexts::portOpens(displayedPortName(device), variable),
                Qt::ToolTipRole);
}

void PortListBox::refresh()
{
    const QString selected = device();
    {
        // Rebuilding is not a choice of the user's.
        const QSignalBlocker blocker(this);
        clear();
        for (const PortChoice &choice : portChoices(foundDevices()))
            addEntry(choice.label, choice.device, choice.overrideVariable);
        for (const QString &recent : qAsConst(recent_)) {
            if (findData(recent) < 0)
                addEntry(QStringLiteral("%1. %2").arg(count() + 1).arg(displayedPortName(recent)),
                         recent);
        }
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
        addEntry(QStringLiteral("%1. %2").arg(count() + 1).arg(displayedPortName(device)), device);
        index = count() - 1;
    }
    setCurrentIndex(index);
    // The entry's own text, even when the index stays (a refused entry typed over it).
    setEditText(itemText(index));
    return true;
}

std::optional<QString> PortListBox::takeTypedEntry()
{
    const QString typed = currentText();
    if (currentIndex() >= 0 && typed == itemText(currentIndex()))
        return std::nullopt;
    const int listed = findText(typed);
    if (listed >= 0) {
        setCurrentIndex(listed);
        return std::nullopt;
    }
    const PortEntry entry = checkPortEntry(typed, foundDevices());
    if (entry.device.isEmpty())
        return MainWindowTexts::badPort(displayedPortName(typed.trimmed()), entry.problem);
    selectDevice(entry.device);
    return std::nullopt;
}

void PortListBox::setRecentDevices(const QStringList &devices)
{
    recent_ = devices.mid(0, kRecentPorts);
    refresh();
}

void PortListBox::noteUsed(const QString &device)
{
    if (device.isEmpty())
        return;
    recent_.removeAll(device);
    recent_.prepend(device);
    while (recent_.size() > kRecentPorts)
        recent_.removeLast();
}

void PortListBox::showPopup()
{
    refresh();
    QComboBox::showPopup();
}
