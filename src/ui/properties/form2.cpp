#include "ui/properties/form2.h"

#include "image/module1.h"
#include "image/port_map.h"
#include "ui/dialog_runner.h"
#include "ui/properties/form3.h"
#include "ui/properties/port_page.h"
#include "ui/properties/properties_texts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace T = PropertiesTexts;

Form2::Form2(Module1 &module, const UiServices &services, QWidget *parent)
    : QDialog(parent), module_(module), services_(services)
{
    setObjectName(QStringLiteral("Form2"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    portPage = new PortPage(module_, SSTab1);
    SSTab1->addTab(portPage, QString::fromLatin1(T::kPortTab));
    SSTab1->addTab(new QWidget(SSTab1), QString::fromLatin1(T::kTrunkTab));
    SSTab1->addTab(new QWidget(SSTab1), QString::fromLatin1(T::kVlanTab));
    // Page changes: moving to the port or VLAN page is refused while a port-based trunk in use
    // lacks its mapping. The rule reads the trunk page's boxes and comes with them.

    Command3 = new QPushButton(QString::fromLatin1(T::kOk), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4 = new QPushButton(QString::fromLatin1(T::kCancel), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command3->setAutoDefault(false);
    Command4->setAutoDefault(false);
    connect(Command3, &QPushButton::clicked, this, &Form2::commit);
    connect(Command4, &QPushButton::clicked, this, &Form2::reject);
    connect(portPage->Command2, &QPushButton::clicked, this, &Form2::applyToOtherPorts);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);

    load();
}

void Form2::ParseSetting(int chipPort)
{
    portPage->ParseSetting(chipPort);
}

std::optional<int> Form2::SearchOption() const
{
    return portPage->SearchOption();
}

// Decodes the configuration into the pages, in a fixed order. The trunk and VLAN pages add their
// steps at the places marked below.
void Form2::load()
{
    PortNumbers::buildPortMaps(module_);
    // VLAN page: Add is enabled while there are fewer than 32 groups.

    // Trunks 7 and 8 on both trunk pages follow the same rule as ports 25..32.
    for (int i = 24; i < kUserPortCount; ++i)
        portPage->Option1[i]->setEnabled(module_.Is32Port);

    // Showing port 1 runs the same rules as a click on its button.
    portPage->Option1[0]->setChecked(true);
    // Trunk page: the hash method list selects its first entry.

    for (auto &group : module_.VlanTrunkMember)
        group.fill(false);
    for (auto &group : module_.VlanPortMember)
        group.fill(false);

    ParseSetting(module_.PortMap[0]);
    // Then ParseL2TrunkSetting, ParsePortTrunkSetting and ParseVLANSetting, in this order, and
    // Modify and Delete of the VLAN page are disabled while there is no group.
}

// OK: encodes everything into the image in a fixed, binding order. The trunk and VLAN encoders
// take the places marked below.
void Form2::commit()
{
    // A port-based trunk in use without a finished mapping refuses OK here, before anything is
    // written, while the trunk page is shown.

    for (auto &device : module_.VlanMap)
        device.fill(0);
    // ClearTrunkSetting, L2TrunkToEEBuf, PortTrunkToEEBuf: they OR their masks into the cleared
    // VlanMap and mark trunk ports in the port words, so they run before the words are stored.
    module_.PortWordsToImage();
    // VlanMasksToImage, ClearL2TrunkSelfVLAN, RecordVLAN: the group masks go on top of the
    // trunk masks, and the group records are written after ClearTrunkSetting cleared them.

    module_.PropertiesApplied = true;
    accept();
    module_.ConfigChanged = true;
}

void Form2::reject()
{
    module_.PortWordsFromImage();
    QDialog::reject();
}

void Form2::applyToOtherPorts()
{
    module_.ApplySourcePort = SearchOption().value_or(0);
    Form3 dialog(module_, this);
    services_.dialogs.run(dialog);
}
