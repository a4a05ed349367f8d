#include "ui/properties/form2.h"

#include "config/properties_codec.h"
#include "config/trunk/trunk_page.h"
#include "config/vlan/vlan_page.h"
#include "image/module1.h"
#include "image/port_map.h"
#include "ui/dialog_runner.h"
#include "ui/prompter.h"
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
    trunkPage = new TrunkPage(*this, SSTab1);
    SSTab1->addTab(trunkPage, QString::fromLatin1(T::kTrunkTab));
    vlanPage = new VlanPage(module_, SSTab1);
    SSTab1->addTab(vlanPage, QString::fromLatin1(T::kVlanTab));
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

// Decodes the configuration into the pages, in a fixed order.
void Form2::load()
{
    PortNumbers::buildPortMaps(module_);
    vlanPage->Command15->setEnabled(module_.VlanGroupCount < kVlanGroupMax);
    // Ports 25..32, like trunks 7 and 8, exist on the 32-port model only.
    for (int i = 24; i < kUserPortCount; ++i)
        portPage->Option1[i]->setEnabled(module_.Is32Port);

    // Showing port 1 runs the same rules as a click on its button.
    portPage->Option1[0]->setChecked(true);
    ParseSetting(module_.PortMap[0]);
    PropertiesCodec::decode(module_, trunkPage->board());
    trunkPage->showState();
    vlanPage->showGroups();
}

// OK: encodes everything into the image, then closes.
void Form2::commit()
{
    // A port-based trunk in use without a finished mapping refuses OK here, before anything is
    // written, while the trunk page is shown.

    PropertiesCodec::encode(module_, trunkPage->state());
    accept();
    module_.ConfigChanged = true;
}

bool Form2::askYesNo(const QString &question)
{
    return services_.prompter.askYesNo(question);
}

void Form2::showExclamation(const QString &text)
{
    services_.prompter.showMessage(text, MessageIcon::Exclamation);
}

void Form2::removeAllVlanGroups()
{
    vlanPage->removeAllGroups();
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
