#include "config/vlan/vlan_page.h"

#include "config/trunk/trunk_board.h"
#include "config/vlan/vlan_group_dialog.h"
#include "config/vlan/vlan_groups.h"
#include "config/vlan/vlan_membership.h"
#include "config/vlan/vlan_texts.h"
#include "image/module1.h"
#include "ui/dialog_runner.h"
#include "ui/prompter.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace T = VlanTexts;

namespace
{

QPushButton *button(const char *caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

VlanPage::VlanPage(Module1 &module, const TrunkBoard &trunks, const UiServices &services,
                   QWidget *parent)
    : QWidget(parent), module_(module), trunks_(trunks), services_(services)
{
    setObjectName(QStringLiteral("VlanPage"));
    Label8 = new QLabel(QString::fromLatin1(T::kGroupList), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setHeaderLabels({QString::fromLatin1(T::kGroupNameColumn),
                                QString::fromLatin1(T::kPortColumn),
                                QString::fromLatin1(T::kTrunkColumn)});
    ListView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ListView1->viewport()->installEventFilter(this);
    Command15 = button(T::kAdd, "Command15", this);
    Command16 = button(T::kModify, "Command16", this);
    Command17 = button(T::kDelete, "Command17", this);
    connect(ListView1, &QTreeWidget::itemClicked, this, &VlanPage::itemClicked);
    connect(Command15, &QPushButton::clicked, this, &VlanPage::addGroup);
    connect(Command16, &QPushButton::clicked, this, &VlanPage::modifyGroup);
    connect(Command17, &QPushButton::clicked, this, &VlanPage::deleteGroup);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {Command15, Command16, Command17})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label8);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
}

bool VlanPage::eventFilter(QObject *watched, QEvent *event)
{
    // A double click anywhere on the list, on a row or not.
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonDblClick)
        doubleClicked();
    return QWidget::eventFilter(watched, event);
}

void VlanPage::showGroups()
{
    ListView1->clear();
    for (int g = 0; g < module_.VlanGroupCount; ++g) {
        ListView1->addTopLevelItem(
            new QTreeWidgetItem({VlanGroups::groupName(g + 1), VlanGroups::portText(module_, g),
                                 VlanGroups::trunkText(module_, g)}));
    }
    Command15->setEnabled(module_.VlanGroupCount < kVlanGroupMax);
    Command16->setEnabled(module_.VlanGroupCount > 0);
    Command17->setEnabled(module_.VlanGroupCount > 0);
}

void VlanPage::removeAllGroups()
{
    for (int row = ListView1->topLevelItemCount() - 1; row >= 0; --row)
        delete ListView1->takeTopLevelItem(row);
    module_.VlanGroupCount = 0;
    Command16->setEnabled(false);
    Command17->setEnabled(false);
    // With no group left there is room to add one again.
    Command15->setEnabled(true);
}

bool VlanPage::showGroupRow(int number)
{
    QTreeWidgetItem *atPosition = ListView1->topLevelItem(number - 1);
    const QList<QTreeWidgetItem *> found =
        atPosition ? ListView1->findItems(atPosition->text(0), Qt::MatchExactly, 0)
                   : QList<QTreeWidgetItem *>();
    if (found.isEmpty()) {
        services_.prompter.showMessage(QString::fromLatin1(T::kNoMatch), MessageIcon::None,
                                       QString());
        return false;
    }
    QTreeWidgetItem *item = found.first();
    item->setText(1, VlanGroups::portText(module_, number - 1));
    item->setText(2, VlanGroups::trunkText(module_, number - 1));
    ListView1->scrollToItem(item);
    ListView1->setCurrentItem(item);
    return true;
}

void VlanPage::RefreshVLANGroupList()
{
    VlanMembership::dropTrunkMembers(module_, trunks_.state());
    for (int n = 1; n <= module_.VlanGroupCount; ++n) {
        if (!showGroupRow(n))
            return;
    }
}

void VlanPage::itemClicked(QTreeWidgetItem *item)
{
    // The number after "Group": it follows the rows' renumbering.
    module_.SelectedVlanGroup = item->text(0).mid(5).toInt();
}

bool VlanPage::selectionValid() const
{
    return module_.SelectedVlanGroup > 0 && module_.SelectedVlanGroup <= module_.VlanGroupCount;
}

void VlanPage::addGroup()
{
    module_.VlanAddMode = true;
    Form5 dialog(*this, trunks_.state(), services_.prompter, this);
    services_.dialogs.run(dialog);
}

void VlanPage::modifyGroup()
{
    if (!selectionValid()) {
        services_.prompter.showMessage(QString::fromLatin1(T::kSelectGroupToModify),
                                       MessageIcon::Exclamation);
        return;
    }
    openModify();
}

void VlanPage::doubleClicked()
{
    module_.VlanAddMode = false;
    // Without a valid selection there is no group to show: as Modify, ask for one.
    modifyGroup();
}

void VlanPage::openModify()
{
    const int g = module_.SelectedVlanGroup - 1;
    Form6 dialog(*this, trunks_.state(), services_.prompter, this);
    for (int p = 0; p < kUserPortCount; ++p)
        dialog.Check1[p]->setChecked(module_.VlanPortMember[g][p]);
    for (int t = 0; t < kTrunkCount; ++t)
        dialog.Check2[t]->setChecked(module_.VlanTrunkMember[g][t]);
    module_.VlanAddMode = false;
    services_.dialogs.run(dialog);
}

void VlanPage::deleteGroup()
{
    if (!selectionValid()) {
        services_.prompter.showMessage(QString::fromLatin1(T::kSelectGroupToDelete),
                                       MessageIcon::Exclamation);
        return;
    }
    const int count = module_.VlanGroupCount;
    // The rows keep their names by position: the last row goes, the data of the later groups
    // moves up one row.
    delete ListView1->takeTopLevelItem(count - 1);
    for (int k = module_.SelectedVlanGroup; k < count; ++k) {
        module_.VlanPortMember[k - 1] = module_.VlanPortMember[k];
        module_.VlanTrunkMember[k - 1] = module_.VlanTrunkMember[k];
        showGroupRow(k);
    }
    // A following Modify or Delete asks for a selection again.
    module_.SelectedVlanGroup = count + 1;
    module_.VlanGroupCount = count - 1;
    Command15->setEnabled(true);
    if (module_.VlanGroupCount == 0) {
        Command16->setEnabled(false);
        Command17->setEnabled(false);
    }
}
