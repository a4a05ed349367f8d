#include "ui/properties/vlan_group_dialog.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_groups.h"
#include "config/vlan/vlan_membership.h"
#include "config/vlan/vlan_texts.h"
#include "ui/dialog_buttons.h"
#include "ui/properties/vlan_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace T = VlanTexts;

VlanGroupDialog::VlanGroupDialog(VlanPage &page, const TrunkPageState &trunks, Prompter &prompter,
                                 const QString &title, QWidget *parent)
    : QDialog(parent), page_(page), state_(page.state()), prompter_(prompter)
{
    setWindowTitle(title);
    portFrame = new QGroupBox(QString::fromLatin1(T::kPortFrame), this);
    portFrame->setObjectName(QStringLiteral("portFrame"));
    auto *ports = new QGridLayout(portFrame);
    for (int p = 0; p < kUserPortCount; ++p) {
        portBoxes[p] = new QCheckBox(QStringLiteral("%1").arg(p + 1, 2), portFrame);
        portBoxes[p]->setObjectName(QStringLiteral("portBox_%1").arg(p));
        ports->addWidget(portBoxes[p], p / 8, p % 8);
    }
    trunkFrame = new QGroupBox(QString::fromLatin1(T::kTrunkFrame), this);
    trunkFrame->setObjectName(QStringLiteral("trunkFrame"));
    auto *trunkGrid = new QGridLayout(trunkFrame);
    for (int t = 0; t < kTrunkCount; ++t) {
        trunkBoxes[t] = new QCheckBox(TrunkLayout::trunkCaption(t), trunkFrame);
        trunkBoxes[t]->setObjectName(QStringLiteral("trunkBox_%1").arg(t));
        trunkGrid->addWidget(trunkBoxes[t], t / 4, t % 4);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(portFrame);
    layout->addWidget(trunkFrame);
    const OkCancel buttons = addOkCancel(*this, *layout);
    okButton = buttons.ok;
    cancelButton = buttons.cancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(okButton, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QCheckBox *box : portBoxes)
        connect(box, &QCheckBox::toggled, this, &VlanGroupDialog::updateOk);
    for (QCheckBox *box : trunkBoxes)
        connect(box, &QCheckBox::toggled, this, &VlanGroupDialog::updateOk);

    const VlanMembership::Choices choices = VlanMembership::available(state_, trunks);
    for (int p = 0; p < kUserPortCount; ++p)
        portBoxes[p]->setEnabled(choices.ports[p]);
    for (int t = 0; t < kTrunkCount; ++t)
        trunkBoxes[t]->setEnabled(choices.trunks[t]);
    okButton->setEnabled(false);
}

void VlanGroupDialog::updateOk()
{
    int checked = 0;
    for (QCheckBox *box : portBoxes)
        checked += box->isChecked() ? 1 : 0;
    for (QCheckBox *box : trunkBoxes)
        checked += box->isChecked() ? 1 : 0;
    okButton->setEnabled(checked >= 2);
}

void VlanGroupDialog::takeMembers(int group)
{
    for (int p = 0; p < kUserPortCount; ++p)
        state_.vlanPortMember[group][p] = portBoxes[p]->isEnabled() && portBoxes[p]->isChecked();
    for (int t = 0; t < kTrunkCount; ++t)
        state_.vlanTrunkMember[group][t] = trunkBoxes[t]->isEnabled() && trunkBoxes[t]->isChecked();
}

AddVlanGroupDialog::AddVlanGroupDialog(VlanPage &page, const TrunkPageState &trunks,
                                       Prompter &prompter, QWidget *parent)
    : VlanGroupDialog(page, trunks, prompter, QString::fromLatin1(T::kAddTitle), parent)
{
    setObjectName(QStringLiteral("AddVlanGroupDialog"));
}

void AddVlanGroupDialog::confirm()
{
    if (state_.vlanGroupCount >= kVlanGroupMax) {
        reject();
        return;
    }
    const int n = ++state_.vlanGroupCount;
    takeMembers(n - 1);
    // The dialog's OK computes every mask afresh; this keeps the work table current meanwhile.
    VlanGroups::addGroupMasks(state_, n - 1);
    QTreeWidgetItem *item = page_.groupRow(n - 1);
    page_.groupList->insertTopLevelItem(n - 1, item);
    page_.groupList->setCurrentItem(item);
    accept();
    page_.showButtons();
}

ModifyVlanGroupDialog::ModifyVlanGroupDialog(VlanPage &page, const TrunkPageState &trunks,
                                             Prompter &prompter, QWidget *parent)
    : VlanGroupDialog(page, trunks, prompter, QString::fromLatin1(T::kModifyTitle), parent)
{
    setObjectName(QStringLiteral("ModifyVlanGroupDialog"));
}

void ModifyVlanGroupDialog::confirm()
{
    const int s = state_.selectedVlanGroup;
    takeMembers(s - 1);
    // Without its row the dialog stays open; the tables are already changed.
    if (!page_.showGroupRow(s))
        return;
    accept();
    page_.showButtons();
}
