#include "config/vlan/vlan_texts.h"
#include "support/test_main.h"
#include "ui/properties/vlan_group_dialog.h"
#include "ui/properties/vlan_page.h"
#include "ui/properties_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace
{

// The first two rows of the list and the last: "Group1:1 9 |Group2:3 11 |..." (name and ports).
QString rows(const VlanPage &page)
{
    QStringList rows;
    const int count = page.groupList->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        if (i > 1 && i < count - 1)
            continue;
        const QTreeWidgetItem *item = page.groupList->topLevelItem(i);
        rows << item->text(0) + QLatin1Char(':') + item->text(1);
    }
    return rows.join(QLatin1Char('|'));
}

void click(VlanPage &page, int row)
{
    page.itemClicked(page.groupList->topLevelItem(row));
}

} // namespace

class VlanPageTest : public QObject
{
    Q_OBJECT

private slots:
    // Deleting renumbers by position: the rows keep their names and the later groups move up.
    // Modify, Delete and a double click act on the highlighted row, however it got there (a
    // click, the keys, Add, Delete); with none, Modify and Delete say so. In the group dialogs
    // Enter presses OK and Escape cancels.
    void deleteRenumbers_data()
    {
        QTest::addColumn<int>("groups");
        QTest::addColumn<QString>("after");
        QTest::newRow("group 2 of 32") << 32 << "Group1:1 9 |Group2:3 11 |Group31:8 16 ";
        QTest::newRow("the only group") << 1 << "";
    }
    void deleteRenumbers()
    {
        QFETCH(int, groups);
        PropertiesFixture d(Model32NWay);
        VlanPage &page = *d.open().vlanPage;
        d.state.vlanGroupCount = groups;
        for (int g = 0; g < groups; ++g) { // ports g % 8 + 1 and g % 8 + 9
            d.state.vlanPortMember[g][g % 8] = true;
            d.state.vlanPortMember[g][g % 8 + 8] = true;
        }
        page.showGroups();
        QCOMPARE(page.addButton->isEnabled(), groups < 32);
        click(page, groups > 1 ? 1 : 0);

        QVERIFY(d.click({"deleteButton"}));

        QTEST(rows(page), "after");
        QCOMPARE(d.state.vlanGroupCount, groups - 1);
        QVERIFY(page.addButton->isEnabled());
        QCOMPARE(page.deleteButton->isEnabled(), groups > 1);
        // No row stays highlighted: Modify and Delete ask for a group again.
        QCOMPARE(d.state.selectedVlanGroup, groups + 1);
        QVERIFY(!page.groupList->currentItem() && page.groupList->selectedItems().isEmpty());
        QStringList opened; // the first port of each group Modify opened
        d.dialogs.actions.assign(3, [&opened](QDialog &dialog) {
            auto &f = static_cast<VlanGroupDialog &>(dialog);
            for (int p = 0; p < kUserPortCount && opened.size() < 3; ++p) {
                if (f.portBoxes[p]->isChecked()) {
                    opened << QString::number(p + 1);
                    break;
                }
            }
            f.show(); // Enter presses OK
            QTest::keyClick(&f, Qt::Key_Return);
        });
        page.deleteGroup(); // a second Delete, as the button (disabled with no group) would
        page.doubleClicked();
        QCOMPARE(d.prompter.texts(),
                 (QStringList{VlanTexts::kSelectGroupToDelete, VlanTexts::kSelectGroupToModify}));
        QCOMPARE(d.state.vlanGroupCount, groups - 1);
        if (groups == 1)
            return;
        d.prompter.prompts.clear();
        click(page, 1);
        page.doubleClicked();
        QTest::keyClick(page.groupList, Qt::Key_Down);
        QVERIFY(d.click({"modifyButton"}));
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) { // Add ports 7 and 8
            d.dialogs.actions.push_front([key](QDialog &dialog) {
                QVERIFY(clickButtons(dialog, {"portBox_6", "portBox_7"}));
                dialog.show();
                QTest::keyClick(&dialog, key);
            });
        }
        QVERIFY(d.click({"addButton"}) && d.click({"addButton"}));
        QVERIFY(!page.addButton->isEnabled()); // 32 groups again
        QVERIFY(d.click({"modifyButton"}));
        QCOMPARE(opened, (QStringList{"3", "4", "7"}));
        QVERIFY(d.prompter.texts().isEmpty());
        page.removeAllGroups(); // as a change of trunk method does: room to add again
        QVERIFY(page.addButton->isEnabled());
    }

    // A group member taken into a trunk: Modify shows it checked but disabled (it still counts
    // for OK) and OK drops it; showing the page again drops it from every group.
    void trunkMembersLeaveGroups()
    {
        PropertiesFixture d(Model24Sx);
        ImageWords &image = d.state.eepromImage;
        image[0][0] = 0x0008; // MAC-address-based trunk 1: ports 1 to 4
        image[0][48] = 0x00AA;
        image[0][65] = 0x0011; // group 1: ports 1 and 5
        image[0][73] = 0x00C2; // group 2: ports 2, 7 and 8
        PropertiesDialog &form = d.open();
        VlanPage &page = *form.vlanPage;
        click(page, 0);
        d.dialogs.actions = {[](QDialog &dialog) {
            auto &f = static_cast<ModifyVlanGroupDialog &>(dialog);
            QVERIFY(f.portBoxes[0]->isChecked() && !f.portBoxes[0]->isEnabled());
            QVERIFY(f.okButton->isEnabled());
            f.okButton->click();
        }};
        QVERIFY(d.click({"modifyButton"}));
        QCOMPARE(rows(page), QStringLiteral("Group1:5 |Group2:2 7 8 "));
        QCOMPARE(d.state.selectedVlanGroup, 1); // OK keeps the group highlighted
        form.pageTabs->setCurrentIndex(2);
        QCOMPARE(rows(page), QStringLiteral("Group1:5 |Group2:7 8 "));
        // Shown again, no row is highlighted, so no group is chosen.
        QVERIFY(page.groupList->selectedItems().isEmpty());
        QCOMPARE(d.state.selectedVlanGroup, 0);
    }
};

SWCFG_TEST_CLASS(VlanPageTest)
#include "vlan_page_test.moc"
