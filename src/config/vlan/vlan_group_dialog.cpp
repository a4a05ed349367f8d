#include "config/vlan/vlan_group_dialog.h"

#include "config/trunk/trunk_layout.h"
#include "config/vlan/vlan_groups.h"
#include "config/vlan/vlan_membership.h"
#include "config/vlan/vlan_page.h"
#include "config/vlan/vlan_texts.h"
#include "ui/dialog_buttons.h"

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
    : QDialog(parent), page_(page), module_(page.module()), prompter_(prompter)
{
    setWindowTitle(title);
    Frame1 = new QGroupBox(QString::fromLatin1(T::kPortFrame), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *ports = new QGridLayout(Frame1);
    for (int p = 0; p < kUserPortCount; ++p) {
        Check1[p] = new QCheckBox(QStringLiteral("%1").arg(p + 1, 2), Frame1);
        Check1[p]->setObjectName(QStringLiteral("Check1_%1").arg(p));
        ports->addWidget(Check1[p], p / 8, p % 8);
    }
    Frame2 = new QGroupBox(QString::fromLatin1(T::kTrunkFrame), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto *trunkBoxes = new QGridLayout(Frame2);
    for (int t = 0; t < kTrunkCount; ++t) {
        Check2[t] = new QCheckBox(TrunkLayout::trunkCaption(t), Frame2);
        Check2[t]->setObjectName(QStringLiteral("Check2_%1").arg(t));
        trunkBoxes->addWidget(Check2[t], t / 4, t % 4);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    const OkCancel buttons = addOkCancel(*this, *layout, 1, 2);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Command1, &QPushButton::clicked, this, [this] { confirm(); });
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    for (QCheckBox *box : Check1)
        connect(box, &QCheckBox::toggled, this, &VlanGroupDialog::updateOk);
    for (QCheckBox *box : Check2)
        connect(box, &QCheckBox::toggled, this, &VlanGroupDialog::updateOk);

    const VlanMembership::Choices choices = VlanMembership::available(module_, trunks);
    for (int p = 0; p < kUserPortCount; ++p)
        Check1[p]->setEnabled(choices.ports[p]);
    for (int t = 0; t < kTrunkCount; ++t)
        Check2[t]->setEnabled(choices.trunks[t]);
    Command1->setEnabled(false);
}

void VlanGroupDialog::updateOk()
{
    int checked = 0;
    for (QCheckBox *box : Check1)
        checked += box->isChecked() ? 1 : 0;
    for (QCheckBox *box : Check2)
        checked += box->isChecked() ? 1 : 0;
    Command1->setEnabled(checked >= 2);
}

void VlanGroupDialog::takeMembers(int group)
{
    for (int p = 0; p < kUserPortCount; ++p)
        module_.VlanPortMember[group][p] = Check1[p]->isEnabled() && Check1[p]->isChecked();
    for (int t = 0; t < kTrunkCount; ++t)
        module_.VlanTrunkMember[group][t] = Check2[t]->isEnabled() && Check2[t]->isChecked();
}

Form5::Form5(VlanPage &page, const TrunkPageState &trunks, Prompter &prompter, QWidget *parent)
    : VlanGroupDialog(page, trunks, prompter, QString::fromLatin1(T::kAddTitle), parent)
{
    setObjectName(QStringLiteral("Form5"));
}

void Form5::confirm()
{
    if (module_.VlanGroupCount >= kVlanGroupMax) {
        reject();
        return;
    }
    const int n = ++module_.VlanGroupCount;
    page_.Command15->setEnabled(n < kVlanGroupMax);
    takeMembers(n - 1);
    // The dialog's OK computes every mask afresh; this keeps the work table current meanwhile.
    VlanGroups::addGroupMasks(module_, n - 1);
    auto *item =
        new QTreeWidgetItem({VlanGroups::groupName(n), VlanGroups::portText(module_, n - 1),
                             VlanGroups::trunkText(module_, n - 1)});
    page_.ListView1->insertTopLevelItem(n - 1, item);
    page_.ListView1->setCurrentItem(item);
    accept();
    page_.Command16->setEnabled(true);
    page_.Command17->setEnabled(true);
}

Form6::Form6(VlanPage &page, const TrunkPageState &trunks, Prompter &prompter, QWidget *parent)
    : VlanGroupDialog(page, trunks, prompter, QString::fromLatin1(T::kModifyTitle), parent)
{
    setObjectName(QStringLiteral("Form6"));
}

void Form6::confirm()
{
    if (module_.VlanGroupCount == kVlanGroupMax)
        page_.Command15->setEnabled(false);
    const int s = module_.SelectedVlanGroup;
    takeMembers(s - 1);
    // Without its row the dialog stays open; the tables are already changed.
    if (!page_.showGroupRow(s))
        return;
    accept();
    page_.Command16->setEnabled(true);
    page_.Command17->setEnabled(true);
}
