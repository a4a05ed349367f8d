#include "config/vlan/vlan_page.h"

#include "config/vlan/vlan_groups.h"
#include "config/vlan/vlan_texts.h"
#include "image/module1.h"

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

VlanPage::VlanPage(Module1 &module, QWidget *parent) : QWidget(parent), module_(module)
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
    Command15 = button(T::kAdd, "Command15", this);
    Command16 = button(T::kModify, "Command16", this);
    Command17 = button(T::kDelete, "Command17", this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {Command15, Command16, Command17})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label8);
    layout->addWidget(ListView1, 1);
    layout->addLayout(buttons);
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
