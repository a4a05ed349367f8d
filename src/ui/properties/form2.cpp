#include "ui/properties/form2.h"

#include "config/properties_codec.h"
#include "config/trunk/trunk_layout.h"
#include "config/trunk/trunk_page.h"
#include "config/trunk/trunk_texts.h"
#include "config/vlan/vlan_page.h"
#include "image/module1.h"
#include "image/port_map.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_runner.h"
#include "ui/prompter.h"
#include "ui/properties/form3.h"
#include "ui/properties/port_page.h"
#include "ui/properties/properties_texts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
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
    vlanPage = new VlanPage(module_, trunkPage->board(), services_, SSTab1);
    SSTab1->addTab(vlanPage, QString::fromLatin1(T::kVlanTab));
    connect(SSTab1, &QTabWidget::currentChanged, this, &Form2::pageChanged);
    connect(trunkPage, &TrunkPage::mappingRequested, this, &Form2::openMapping);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    const OkCancel buttons = addOkCancel(*this, *layout, 3, 4);
    Command3 = buttons.ok;
    Command4 = buttons.cancel;
    connect(Command3, &QPushButton::clicked, this, &Form2::commit);
    connect(Command4, &QPushButton::clicked, this, &Form2::reject);
    connect(portPage->Command2, &QPushButton::clicked, this, &Form2::applyToOtherPorts);
    // The pages are laid out at their natural size; a larger window would only spread them.
    layout->setSizeConstraint(QLayout::SetFixedSize);

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
    // Elsewhere the page changes have kept the user from leaving the trunk page unfinished.
    if (SSTab1->currentIndex() == TrunkPageIndex && refuseUnfinishedMapping())
        return;
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

bool Form2::refuseUnfinishedMapping()
{
    if (trunkPage->board().unfinishedMapping() < 0)
        return false;
    services_.prompter.showMessage(QString::fromLatin1(TrunkTexts::kFinishMapping),
                                   MessageIcon::Exclamation);
    return true;
}

void Form2::pageChanged(int page)
{
    if (page == TrunkPageIndex)
        return;
    if (page == VlanPageIndex && module_.VlanGroupCount != 0)
        vlanPage->RefreshVLANGroupList();
    if (trunkPage->board().unfinishedMapping() >= 0) {
        SSTab1->setCurrentIndex(TrunkPageIndex);
        refuseUnfinishedMapping();
    }
}

void Form2::openMapping(int trunk)
{
    Form4 dialog(module_, *this, services_.prompter, this);
    const QString name =
        QString::fromLatin1(TrunkTexts::kMappingFrame) + QString::number(trunk + 1);
    dialog.setWindowTitle(QString::fromLatin1(TrunkTexts::kMappingTitle) +
                          QString::number(trunk + 1));
    for (int m = 0; m < TrunkLayout::kMemberBoxes; ++m) {
        dialog.Frame1[m]->setTitle(name);
        const QString caption = trunkPage->memberBoxes[trunk][m]->text();
        for (int tab = 0; tab < 4; ++tab)
            dialog.Label1[m + 4 * tab]->setText(caption);
        if (trunkPage->memberBoxes[trunk][m]->isChecked())
            dialog.LockMemberRow(m, caption);
        else
            dialog.DisableMemberColumn(m);
    }
    // The choices made before, where they can still be made.
    for (int j = 0; j < 32; ++j) {
        for (int tab = 0; tab < 4; ++tab) {
            QRadioButton *option = dialog.options(tab)[j];
            if (option->isEnabledTo(dialog.Frame1[tab]) && module_.PortTrunkMapping[trunk][tab][j])
                option->setChecked(true);
        }
    }
    services_.dialogs.run(dialog);
}

void Form2::mappingConfirmed(int trunk)
{
    trunkPage->board().setMappingDone(trunk, true);
    trunkPage->showState();
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
