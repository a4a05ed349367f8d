#include "ui/properties/vlan_page.h"

#include "config/trunk/trunk_board.h"
#include "config/vlan/vlan_groups.h"
#include "config/vlan/vlan_membership.h"
#include "config/vlan/vlan_texts.h"
#include "image/image_state.h"
#include "ui/dialog_runner.h"
#include "ui/prompter.h"
#include "ui/properties/vlan_group_dialog.h"

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

VlanPage::VlanPage(ImageState &state, const TrunkBoard &trunks, const UiServices &services,
                   QWidget *parent)
    : QWidget(parent), state_(state), trunks_(trunks), services_(services)
{
    setObjectName(QStringLiteral("VlanPage"));
    groupListLabel = new QLabel(QString::fromLatin1(T::kGroupList), this);
    groupListLabel->setObjectName(QStringLiteral("groupListLabel"));
    groupList = new QTreeWidget(this);
    groupList->setObjectName(QStringLiteral("groupList"));
    groupList->setRootIsDecorated(false);
    groupList->setHeaderLabels({QString::fromLatin1(T::kGroupNameColumn),
                                QString::fromLatin1(T::kPortColumn),
                                QString::fromLatin1(T::kTrunkColumn)});
    groupList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    groupList->viewport()->installEventFilter(this);
    addButton = button(T::kAdd, "addButton", this);
    modifyButton = button(T::kModify, "modifyButton", this);
    deleteButton = button(T::kDelete, "deleteButton", this);
    connect(groupList, &QTreeWidget::itemClicked, this, &VlanPage::itemClicked);
    // Modify and Delete act on the highlighted row, however it got there: a click, the keys or
    // Add. The list taking the focus marks a row without highlighting it: that is no choice.
    connect(groupList, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem *> highlighted = groupList->selectedItems();
        itemClicked(highlighted.isEmpty() ? nullptr : highlighted.first());
    });
    connect(addButton, &QPushButton::clicked, this, &VlanPage::addGroup);
    connect(modifyButton, &QPushButton::clicked, this, &VlanPage::modifyGroup);
    connect(deleteButton, &QPushButton::clicked, this, &VlanPage::deleteGroup);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {addButton, modifyButton, deleteButton})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(groupListLabel);
    layout->addWidget(groupList, 1);
    layout->addLayout(buttons);
}

bool VlanPage::eventFilter(QObject *watched, QEvent *event)
{
    // A double click anywhere on the list, on a row or not.
    if (watched == groupList->viewport() && event->type() == QEvent::MouseButtonDblClick)
        doubleClicked();
    return QWidget::eventFilter(watched, event);
}

void VlanPage::showGroups()
{
    groupList->clear();
    for (int g = 0; g < state_.vlanGroupCount; ++g)
        groupList->addTopLevelItem(groupRow(g));
    showButtons();
}

QTreeWidgetItem *VlanPage::groupRow(int group) const
{
    return new QTreeWidgetItem({VlanGroups::groupName(group + 1),
                                VlanGroups::portText(state_, group),
                                VlanGroups::trunkText(state_, group)});
}

void VlanPage::showButtons()
{
    addButton->setEnabled(state_.vlanGroupCount < kVlanGroupMax);
    modifyButton->setEnabled(state_.vlanGroupCount > 0);
    deleteButton->setEnabled(state_.vlanGroupCount > 0);
}

void VlanPage::removeAllGroups()
{
    for (int row = groupList->topLevelItemCount() - 1; row >= 0; --row)
        delete groupList->takeTopLevelItem(row);
    state_.vlanGroupCount = 0;
    showButtons();
}

bool VlanPage::showGroupRow(int number)
{
    // Rows are named by position: group n is row n - 1.
    QTreeWidgetItem *item = groupList->topLevelItem(number - 1);
    if (!item) {
        services_.prompter.showMessage(QString::fromLatin1(T::kNoMatch), MessageIcon::None,
                                       QString());
        return false;
    }
    item->setText(1, VlanGroups::portText(state_, number - 1));
    item->setText(2, VlanGroups::trunkText(state_, number - 1));
    groupList->scrollToItem(item);
    groupList->setCurrentItem(item);
    return true;
}

void VlanPage::refreshVlanGroupList()
{
    VlanMembership::dropTrunkMembers(state_, trunks_.state());
    for (int n = 1; n <= state_.vlanGroupCount; ++n) {
        if (!showGroupRow(n))
            break;
    }
    // Showing the rows is not a choice: Modify and Delete wait for a click on one.
    clearHighlight();
}

void VlanPage::clearHighlight()
{
    groupList->setCurrentItem(nullptr);
    groupList->clearSelection();
}

void VlanPage::itemClicked(QTreeWidgetItem *item)
{
    // Rows are named by position, so the row's place is its group's number. No row, no group.
    state_.selectedVlanGroup = item ? groupList->indexOfTopLevelItem(item) + 1 : 0;
}

bool VlanPage::selectionValid() const
{
    return state_.selectedVlanGroup > 0 && state_.selectedVlanGroup <= state_.vlanGroupCount;
}

void VlanPage::addGroup()
{
    state_.vlanAddMode = true;
    AddVlanGroupDialog dialog(*this, trunks_.state(), services_.prompter, this);
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
    state_.vlanAddMode = false;
    // Without a valid selection there is no group to show: as Modify, ask for one.
    modifyGroup();
}

void VlanPage::openModify()
{
    const int g = state_.selectedVlanGroup - 1;
    ModifyVlanGroupDialog dialog(*this, trunks_.state(), services_.prompter, this);
    for (int p = 0; p < kUserPortCount; ++p)
        dialog.portBoxes[p]->setChecked(state_.vlanPortMember[g][p]);
    for (int t = 0; t < kTrunkCount; ++t)
        dialog.trunkBoxes[t]->setChecked(state_.vlanTrunkMember[g][t]);
    state_.vlanAddMode = false;
    services_.dialogs.run(dialog);
}

void VlanPage::deleteGroup()
{
    if (!selectionValid()) {
        services_.prompter.showMessage(QString::fromLatin1(T::kSelectGroupToDelete),
                                       MessageIcon::Exclamation);
        return;
    }
    const int count = state_.vlanGroupCount;
    const int deleted = state_.selectedVlanGroup;
    // The rows keep their names by position: the last row goes, the rows of the later groups
    // show the data that moved up.
    delete groupList->takeTopLevelItem(count - 1);
    VlanGroups::removeGroup(state_, deleted - 1);
    for (int k = deleted; k < count; ++k)
        showGroupRow(k);
    // No row stays highlighted, and the selection ends past the groups, so that a second Modify
    // or Delete asks for a group again instead of acting on the one that moved up.
    clearHighlight();
    state_.selectedVlanGroup = count + 1;
    showButtons();
}
