#include "ui/properties/properties_dialog.h"

#include "config/properties_codec.h"
#include "config/trunk/trunk_layout.h"
#include "config/trunk/trunk_texts.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "image/port_map.h"
#include "ui/dialog_buttons.h"
#include "ui/dialog_runner.h"
#include "ui/prompter.h"
#include "ui/properties/apply_to_ports_dialog.h"
#include "ui/properties/port_page.h"
#include "ui/properties/properties_texts.h"
#include "ui/properties/trunk_page.h"
#include "ui/properties/vlan_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace T = PropertiesTexts;

PropertiesDialog::PropertiesDialog(ImageState &state, const UiServices &services, QWidget *parent)
    : QDialog(parent), state_(state), services_(services)
{
    setObjectName(QStringLiteral("PropertiesDialog"));
    pageTabs = new QTabWidget(this);
    pageTabs->setObjectName(QStringLiteral("pageTabs"));
    portPage = new PortPage(state_, pageTabs);
    pageTabs->addTab(portPage, QString::fromLatin1(T::kPortTab));
    trunkPage = new TrunkPage(*this, pageTabs);
    pageTabs->addTab(trunkPage, QString::fromLatin1(T::kTrunkTab));
    vlanPage = new VlanPage(state_, trunkPage->board(), services_, pageTabs);
    pageTabs->addTab(vlanPage, QString::fromLatin1(T::kVlanTab));
    connect(pageTabs, &QTabWidget::currentChanged, this, &PropertiesDialog::pageChanged);
    connect(trunkPage, &TrunkPage::mappingRequested, this, &PropertiesDialog::openMapping);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pageTabs, 1);
    const OkCancel buttons = addOkCancel(*this, *layout);
    okButton = buttons.ok;
    cancelButton = buttons.cancel;
    connect(okButton, &QPushButton::clicked, this, &PropertiesDialog::commit);
    connect(cancelButton, &QPushButton::clicked, this, &PropertiesDialog::reject);
    connect(portPage->applyButton, &QPushButton::clicked, this,
            &PropertiesDialog::applyToOtherPorts);
    // The pages are laid out at their natural size; a larger window would only spread them.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    load();
}

std::optional<int> PropertiesDialog::selectedPortIndex() const
{
    return portPage->selectedPortIndex();
}

// Decodes the configuration into the pages, in a fixed order.
void PropertiesDialog::load()
{
    PortNumbers::buildPortMaps(state_);
    // Ports past the model's own (25..32 on the 24-port models) cannot be chosen.
    for (int i = 0; i < kUserPortCount; ++i)
        portPage->portButtons[i]->setEnabled(i < state_.model().pagePorts);

    // Showing port 1 runs the same rules as a click on its button, and shows its settings.
    portPage->portButtons[0]->setChecked(true);
    PropertiesCodec::decode(state_, trunkPage->board());
    trunkPage->showState();
    vlanPage->showGroups();
}

// OK: encodes everything into the image, then closes.
void PropertiesDialog::commit()
{
    // Elsewhere the page changes have kept the user from leaving the trunk page unfinished.
    if (pageTabs->currentIndex() == TrunkPageIndex && refuseUnfinishedMapping())
        return;
    const ImageWords before = state_.eepromImage;
    PropertiesCodec::encode(state_, trunkPage->state());
    accept();
    state_.configChanged = true;
    // Only settings that changed a word are work the user could lose.
    if (state_.eepromImage != before)
        state_.unsavedChanges = true;
}

bool PropertiesDialog::askYesNo(const QString &question, const QString &consequence)
{
    return services_.prompter.askYesNo(question, consequence);
}

void PropertiesDialog::showExclamation(const QString &text)
{
    services_.prompter.showMessage(text, MessageIcon::Exclamation);
}

void PropertiesDialog::removeAllVlanGroups()
{
    vlanPage->removeAllGroups();
}

bool PropertiesDialog::refuseUnfinishedMapping()
{
    if (trunkPage->board().unfinishedMapping() < 0)
        return false;
    services_.prompter.showMessage(QString::fromLatin1(TrunkTexts::kFinishMapping),
                                   MessageIcon::Exclamation);
    return true;
}

void PropertiesDialog::pageChanged(int page)
{
    if (page == TrunkPageIndex)
        return;
    if (page == VlanPageIndex && state_.vlanGroupCount != 0)
        vlanPage->refreshVlanGroupList();
    if (trunkPage->board().unfinishedMapping() >= 0) {
        pageTabs->setCurrentIndex(TrunkPageIndex);
        refuseUnfinishedMapping();
    }
}

void PropertiesDialog::openMapping(int trunk)
{
    TrunkMappingDialog dialog(state_, *this, services_.prompter, trunk, this);
    for (int m = 0; m < TrunkLayout::kMemberBoxes; ++m) {
        if (trunkPage->memberBoxes[trunk][m]->isChecked())
            dialog.lockMemberRow(m);
        else
            dialog.disableMemberColumn(m);
    }
    // The choices made before, where they can still be made.
    for (int j = 0; j < 32; ++j) {
        for (int tab = 0; tab < 4; ++tab) {
            QRadioButton *option = dialog.options(tab)[j];
            if (option->isEnabledTo(dialog.trunkFrames[tab]) &&
                state_.portTrunkMapping[trunk][tab][j])
                option->setChecked(true);
        }
    }
    services_.dialogs.run(dialog);
}

void PropertiesDialog::mappingConfirmed(int trunk)
{
    trunkPage->board().setMappingDone(trunk, true);
    trunkPage->showState();
}

void PropertiesDialog::reject()
{
    state_.portWordsFromImage();
    QDialog::reject();
}

void PropertiesDialog::applyToOtherPorts()
{
    ApplyToPortsDialog dialog(state_, selectedPortIndex().value_or(0), this);
    services_.dialogs.run(dialog);
}
