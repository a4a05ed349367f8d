#include "config/vlan/vlan_group_dialog.h"
#include "config/vlan/vlan_membership.h"
#include "config/vlan/vlan_page.h"
#include "config/vlan/vlan_texts.h"
#include "config_script.h"
#include "support/test_main.h"
#include "ui/properties_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace
{

// The first three rows of the list: "Group1:1 9 |Group2:3 11 |..." (name and ports).
QString rows(const VlanPage &page)
{
    QStringList rows;
    for (int i = 0; i < std::min(3, page.ListView1->topLevelItemCount()); ++i) {
        const QTreeWidgetItem *item = page.ListView1->topLevelItem(i);
        rows << item->text(0) + QLatin1Char(':') + item->text(1);
    }
    return rows.join(QLatin1Char('|'));
}

void click(VlanPage &page, int row)
{
    page.itemClicked(page.ListView1->topLevelItem(row));
}

// What a group may not hold, as runs: "p25-32 t1-8".
QString unavailable(const VlanMembership::Choices &choices)
{
    QStringList runs;
    auto addRuns = [&runs](const auto &allowed, QChar kind) {
        for (int i = 0, end; i < int(allowed.size()); i = end) {
            for (end = i + 1; !allowed[i] && end < int(allowed.size()) && !allowed[end];)
                ++end;
            if (!allowed[i])
                runs << QStringLiteral("%1%2").arg(kind).arg(i + 1) +
                            (end - i > 1 ? QStringLiteral("-%1").arg(end) : QString());
        }
    };
    addRuns(choices.ports, QLatin1Char('p'));
    addRuns(choices.trunks, QLatin1Char('t'));
    return runs.join(QLatin1Char(' '));
}

} // namespace

class VlanPageTest : public QObject
{
    Q_OBJECT

private slots:
    // Deleting renumbers by position: the rows keep their names, the later groups move up, and a
    // click takes the number from the row. Without a selection Modify and Delete say so.
    void deleteRenumbers_data()
    {
        QTest::addColumn<int>("groups");
        QTest::addColumn<QString>("after");
        QTest::newRow("group 2 of 32") << 32 << "Group1:1 9 |Group2:3 11 |Group3:4 12 ";
        QTest::newRow("the only group") << 1 << "";
    }
    void deleteRenumbers()
    {
        QFETCH(int, groups);
        PropertiesFixture d(Model32NWay);
        VlanPage &page = *d.open().vlanPage;
        d.module.VlanGroupCount = groups;
        for (int g = 0; g < groups; ++g) { // ports g % 8 + 1 and g % 8 + 9
            d.module.VlanPortMember[g][g % 8] = true;
            d.module.VlanPortMember[g][g % 8 + 8] = true;
        }
        page.showGroups();
        QCOMPARE(page.Command15->isEnabled(), groups < 32);
        click(page, groups > 1 ? 1 : 0);

        QVERIFY(d.click({"Command17"}));

        QTEST(rows(page), "after");
        QCOMPARE(d.module.VlanGroupCount, groups - 1);
        QVERIFY(page.Command15->isEnabled());
        QCOMPARE(page.Command17->isEnabled(), groups > 1);
        QVERIFY(d.click({"Command17"}) && d.click({"Command16"}));
        page.doubleClicked();
        const QString modify = QString::fromLatin1(VlanTexts::kSelectGroupToModify);
        // Disabled with no group left, Modify and Delete ask for a selection otherwise.
        QStringList said{modify};
        if (groups > 1)
            said =
                QStringList{QString::fromLatin1(VlanTexts::kSelectGroupToDelete), modify, modify};
        QCOMPARE(d.prompter.texts(), said);
        if (groups > 1) { // the second row now holds the former group 3
            click(page, 1);
            d.dialogs.actions = {[](QDialog &dialog) {
                auto &f = static_cast<Form6 &>(dialog);
                QVERIFY(f.Check1[2]->isChecked() && f.Check1[10]->isChecked());
                QVERIFY(!f.Check1[1]->isChecked());
            }};
            page.doubleClicked();
            QCOMPARE(d.dialogs.runs, 1);
        }
    }

    // Ports and trunks of the model, trunks in use under the chosen method, no trunk member.
    void groupMembers_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("unavailable");
        QTest::newRow("24 ports") << 0 << "port"
                                  << "p25-32 t1-8";
        QTest::newRow("1000Base-SX") << 1 << "mac"
                                     << "p27-32 t1-8";
        QTest::newRow("port-based trunk 1") << 0 << "port P1"
                                            << "p1-2 p13-14 p25-32 t2-8";
        QTest::newRow("MAC-based trunk 7") << 2 << "mac +7"
                                           << "p25-28 t1-6 t8";
    }
    void groupMembers()
    {
        QFETCH(int, model);
        QFETCH(QString, script);
        Module1 module;
        setModel(module, model);
        TrunkBoard board;
        board.enableModuleTrunks(module.Is32Port);
        runScript(board, script);
        QTEST(unavailable(VlanMembership::available(module, board.state())), "unavailable");
    }

    // A group member taken into a trunk: Modify shows it checked but disabled (it still counts
    // for OK) and OK drops it; showing the page again drops it from every group.
    void trunkMembersLeaveGroups()
    {
        PropertiesFixture d(Model24Sx);
        ImageWords &image = d.module.EepromImage;
        image[0][0] = 0x0008; // MAC-address-based trunk 1: ports 1 to 4
        image[0][48] = 0x00AA;
        image[0][65] = 0x0011; // group 1: ports 1 and 5
        image[0][73] = 0x00C2; // group 2: ports 2, 7 and 8
        Form2 &form = d.open();
        VlanPage &page = *form.vlanPage;
        click(page, 0);
        d.dialogs.actions = {[](QDialog &dialog) {
            auto &f = static_cast<Form6 &>(dialog);
            QVERIFY(f.Check1[0]->isChecked() && !f.Check1[0]->isEnabled());
            QVERIFY(f.Command1->isEnabled());
            f.Command1->click();
        }};
        QVERIFY(d.click({"Command16"}));
        form.SSTab1->setCurrentIndex(2);
        QCOMPARE(rows(page), QStringLiteral("Group1:5 |Group2:7 8 "));

        // Ports 25 and 26 of the fiber module may join a new group.
        d.dialogs.actions = {[](QDialog &dialog) {
            auto &f = static_cast<Form5 &>(dialog);
            QVERIFY(!f.Check1[26]->isEnabled() && !f.Check2[6]->isEnabled());
            QVERIFY(clickButtons(f, {"Check1_24"}) && !f.Command1->isEnabled());
            QVERIFY(clickButtons(f, {"Check1_25", "Command1"}));
        }};
        QVERIFY(d.click({"Command15"}));
        QCOMPARE(rows(page), QStringLiteral("Group1:5 |Group2:7 8 |Group3:25 26 "));
    }
};

SWCFG_TEST_CLASS(VlanPageTest)
#include "vlan_page_test.moc"
