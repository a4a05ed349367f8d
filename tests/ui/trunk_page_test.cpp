#include "config/trunk/trunk_texts.h"
#include "support/test_main.h"
#include "ui/properties/trunk_mapping_dialog.h"
#include "ui/properties/trunk_page.h"
#include "ui/properties/vlan_page.h"
#include "ui/properties_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

class TrunkPageTest : public QObject
{
    Q_OBJECT

private slots:
    // Switching the method's tab (or button) with trunks of the other method in use asks first:
    // Yes gives up those trunks and every VLAN group, No goes back. An unfinished port mapping
    // then keeps the port-based tab in front. The hash method list waits for the MAC-address-based
    // method to be chosen once.
    void switchingMethods_data()
    {
        QTest::addColumn<bool>("macImage");
        QTest::addColumn<QString>("click"); // a box ticked first, or the method's button
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("prompts");
        // The tab shown, the groups left, MAC-address-based and port-based trunk 1 ticked.
        QTest::addColumn<QString>("after");
        const QString question = QString::fromLatin1(TrunkTexts::kOneMethodQuestion);
        const QString finish = QString::fromLatin1(TrunkTexts::kFinishMapping);
        const QString finishModule = QString::fromLatin1(TrunkTexts::kFinishMappingOfModuleTrunk);
        QTest::newRow("to port based, Yes")
            << true << "portBasedOption" << true << QStringList{question} << "tab 0, 0 groups, --";
        QTest::newRow("to port based, No")
            << true << "" << false << QStringList{question} << "tab 1, 2 groups, M-";
        QTest::newRow("to MAC, Yes")
            << false << "portTrunkBox_0" << true << QStringList{question} << "tab 1, 0 groups, --";
        QTest::newRow("to MAC, No, trunk 1")
            << false << "portTrunkBox_0" << false << QStringList{question, finish}
            << "tab 0, 2 groups, -P";
        QTest::newRow("to MAC, No, trunk 1 mapped")
            << false << "decoded" << false << QStringList{question} << "tab 0, 2 groups, -P";
        QTest::newRow("to MAC, No, trunk 7")
            << false << "portTrunkBox_6" << false << QStringList{question, finishModule}
            << "tab 0, 2 groups, --";
        QTest::newRow("no trunk, no question")
            << true << "macTrunkBox_0" << true << QStringList() << "tab 0, 2 groups, --";
    }
    void switchingMethods()
    {
        QFETCH(bool, macImage);
        QFETCH(QString, click);
        QFETCH(bool, yes);
        PropertiesFixture d(Model32NWay);
        ImageWords &image = d.state.eepromImage;
        image[0][0] = macImage ? 0x0008 : 0;
        image[0][48] = 0x00AA;  // MAC-address-based trunk 1: ports 1 to 4
        image[0][65] = 0x0003;  // group 1: ports 1 and 2
        image[0][73] = 0x0030;  // group 2: ports 5 and 6
        if (click == "decoded") // port-based trunk 1 of ports 1 and 13, its mapping done
            d.state.portWords[0][0] = d.state.portWords[0][2] = 0x0200;
        PropertiesDialog &form = d.open();
        TrunkPage &page = *form.trunkPage;
        QCOMPARE(page.hashMethodList->isEnabled(), macImage);
        d.prompter.answers.push_back(yes);
        if (click.contains("Box") || click.endsWith("Option"))
            QVERIFY(d.click({click}));
        if (!click.endsWith("Option"))
            page.methodTabs->setCurrentIndex(macImage ? 0 : 1);

        QTEST(d.prompter.texts(), "prompts");
        if (!d.prompter.prompts.isEmpty()) // what Yes removes, below the question
            QCOMPARE(d.prompter.prompts[0].reason, TrunkTexts::kOneMethodConsequence);
        const VlanPage &vlan = *form.vlanPage;
        QTEST(QStringLiteral("tab %1, %2 groups, %3%4")
                  .arg(page.methodTabs->currentIndex())
                  .arg(vlan.groupList->topLevelItemCount())
                  .arg(page.macTrunkBoxes[0]->isChecked() ? 'M' : '-')
                  .arg(page.portTrunkBoxes[0]->isChecked() ? 'P' : '-'),
              "after");
        QCOMPARE(page.macBasedOption->isChecked(), page.methodTabs->currentIndex() == 1);
        QCOMPARE(page.macPortBoxes[0][0]->isEnabled(), page.macTrunkBoxes[0]->isChecked());
        QCOMPARE(d.state.vlanGroupCount, vlan.groupList->topLevelItemCount());
        QCOMPARE(vlan.deleteButton->isEnabled(), d.state.vlanGroupCount > 0);
        QVERIFY(vlan.addButton->isEnabled() && page.hashMethodList->isEnabled());
        if (d.state.vlanGroupCount)
            QCOMPARE(vlan.groupList->topLevelItem(0)->text(1), QStringLiteral("1 2 "));
    }

    // A port-based trunk's mapping is due once it is in use (or a member changes), and until it
    // is done the trunk page can be left neither by OK nor for another page.
    void unfinishedMapping_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::newRow("OK") << "okButton";
        QTest::newRow("to the port page") << "0";
        QTest::newRow("to the VLAN page") << "2";
    }
    void unfinishedMapping()
    {
        QFETCH(QString, leave);
        PropertiesFixture d(Model24NWay);
        PropertiesDialog &form = d.open();
        form.pageTabs->setCurrentIndex(1);
        QVERIFY(d.click({"portTrunkBox_0"}));
        QCOMPARE(form.trunkPage->mappingLabels[0]->text(), QStringLiteral("not yet"));
        const ImageWords before = d.state.eepromImage;

        if (leave == QLatin1String("okButton"))
            QVERIFY(d.click({leave}));
        else
            form.pageTabs->setCurrentIndex(leave.toInt());

        QCOMPARE(d.prompter.texts(), QStringList{TrunkTexts::kFinishMapping});
        QCOMPARE(form.pageTabs->currentIndex(), 1);
        QCOMPARE(form.result(), 0);
        QVERIFY(d.state.eepromImage == before);
    }

    // The mapping dialog: members' own rows locked, unchecked members' columns closed, OK only
    // with a choice for every port of the model (naming the ports without one), earlier choices
    // back on reopening; "Spread evenly" gives the rest a member in turn, Enter confirms.
    void mappingDialog_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("ports");
        QTest::newRow("24 ports") << int(Model24NWay) << 24;
        QTest::newRow("1000Base-SX") << int(Model24Sx) << 26;
        QTest::newRow("32 ports") << int(Model32NWay) << 32;
    }
    void mappingDialog()
    {
        QFETCH(int, model);
        QFETCH(int, ports);
        PropertiesFixture d(model);
        PropertiesDialog &form = d.open();
        const QLabel *label = form.trunkPage->mappingLabels[0];
        for (int t : {6, 7}) // trunks 7 and 8, of either method
            QCOMPARE(form.trunkPage->portTrunkBoxes[t]->isEnabled() ||
                         form.trunkPage->macTrunkBoxes[t]->isEnabled(),
                     model == Model32NWay);
        auto mapped = [&d] {
            int count = 0;
            for (const auto &tab : d.state.portTrunkMapping[0])
                count += std::count(tab.begin(), tab.end(), true);
            return count;
        };
        QVERIFY(d.click({"portTrunkBox_0"})); // trunk 1: ports 1, 2, 13 and 14
        d.dialogs.actions = {[](QDialog &dialog) { mapEveryPort(dialog, 1); }};
        QVERIFY(d.click({"mappingButton_0"}));
        QCOMPARE(label->text(), QStringLiteral("ok"));
        QCOMPARE(mapped(), ports);

        QVERIFY(d.click({"memberBox_0_1"})); // "Port 2" leaves the trunk
        QCOMPARE(label->text(), QStringLiteral("not yet"));
        d.dialogs.actions = {[&](QDialog &dialog) {
            auto &f = static_cast<TrunkMappingDialog &>(dialog);
            QCOMPARE(f.windowTitle(), QStringLiteral("Port Based Trunk Port Mapping for Trunk 1"));
            QVERIFY(!f.memberHeaders[5]->isEnabled() && !f.options(2)[4 * 3 + 1]->isEnabled());
            QVERIFY(!f.options(2)[4 * 3 + 1]->isChecked()); // port 20 had "Port 2"
            QVERIFY(f.options(1)[4 * 4 + 2]->isChecked());  // "Port13" on itself, locked
            QVERIFY(!f.options(1)[4 * 4 + 2]->isEnabled() && !f.portLabels[12]->isEnabled());
            f.okButton->click();
            QCOMPARE(f.result(), 0);
            f.spreadButton->click(); // members "Port 1", "Port13", "Port14" in turn
            for (const auto &[port, member] : {std::pair{1, 0}, {2, 2}, {3, 3}, {4, 0}, {13, 3}})
                QVERIFY2(f.options(port / 8)[4 * (port % 8) + member]->isChecked(),
                         qPrintable(QString::number(port + 1)));
            QVERIFY(f.options(0)[0]->isChecked()); // "Port 1" stays on itself
            f.show();
            QTest::keyClick(&f, Qt::Key_Return);
            QCOMPARE(f.result(), int(QDialog::Accepted));
        }};
        QVERIFY(d.click({"mappingButton_0"}));
        QCOMPARE(d.prompter.texts(), QStringList{TrunkTexts::kAssignEachMapping});
        QVERIFY(d.prompter.prompts[0].reason.startsWith("Ports without a member: 2, 3, 4, 5, "));
        QCOMPARE(label->text(), QStringLiteral("ok"));
        QCOMPARE(mapped(), ports);

        // A single port without a member keeps the dialog open too.
        d.dialogs.actions = {[](QDialog &dialog) {
            auto &f = static_cast<TrunkMappingDialog &>(dialog);
            QButtonGroup *port3 = f.options(0)[4 * 2]->group();
            port3->setExclusive(false);
            port3->checkedButton()->setChecked(false);
            f.okButton->click();
            QCOMPARE(f.result(), 0);
        }};
        QVERIFY(d.click({"mappingButton_0"}));
        QVERIFY(d.prompter.prompts.last().reason.startsWith("Ports without a member: 3"));
    }
};

SWCFG_TEST_CLASS(TrunkPageTest)
#include "trunk_page_test.moc"
