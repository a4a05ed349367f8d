#include "config/properties_codec.h"
#include "config/trunk/trunk_page.h"
#include "config/trunk/trunk_texts.h"
#include "config/vlan/vlan_page.h"
#include "config_script.h"
#include "image/device_models.h"
#include "support/test_main.h"
#include "ui/properties_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

class TrunkPageTest : public QObject
{
    Q_OBJECT

private slots:
    // Switching the method's tab with trunks of the other method in use asks first: Yes gives
    // up those trunks and every VLAN group, No goes back. An unfinished port mapping then keeps
    // the port-based tab in front.
    void switchingMethods_data()
    {
        QTest::addColumn<bool>("macImage");
        QTest::addColumn<QString>("click"); // a trunk box ticked first
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("prompts");
        // The tab shown, the groups left, MAC-address-based and port-based trunk 1 ticked.
        QTest::addColumn<QString>("after");
        const QString question = QString::fromLatin1(TrunkTexts::kOneMethodQuestion);
        const QString finish = QString::fromLatin1(TrunkTexts::kFinishMapping);
        const QString finishModule = QString::fromLatin1(TrunkTexts::kFinishMappingOfModuleTrunk);
        QTest::newRow("to port based, Yes")
            << true << "" << true << QStringList{question} << "tab 0, 0 groups, --";
        QTest::newRow("to port based, No")
            << true << "" << false << QStringList{question} << "tab 1, 2 groups, M-";
        QTest::newRow("to MAC, Yes")
            << false << "Check6" << true << QStringList{question} << "tab 1, 0 groups, --";
        QTest::newRow("to MAC, No, trunk 1")
            << false << "Check6" << false << QStringList{question, finish} << "tab 0, 2 groups, -P";
        QTest::newRow("to MAC, No, trunk 7")
            << false << "Check12" << false << QStringList{question, finishModule}
            << "tab 0, 2 groups, --";
        QTest::newRow("no trunk, no question")
            << true << "Check29" << true << QStringList() << "tab 0, 2 groups, --";
    }
    void switchingMethods()
    {
        QFETCH(bool, macImage);
        QFETCH(QString, click);
        QFETCH(bool, yes);
        PropertiesFixture d(Model32NWay);
        ImageWords &image = d.module.EepromImage;
        image[0][0] = macImage ? 0x0008 : 0;
        image[0][48] = 0x00AA; // MAC-address-based trunk 1: ports 1 to 4
        image[0][65] = 0x0003; // group 1: ports 1 and 2
        image[0][73] = 0x0030; // group 2: ports 5 and 6
        Form2 &form = d.open();
        TrunkPage &page = *form.trunkPage;
        if (!click.isEmpty())
            QVERIFY(d.click({click}));
        d.prompter.answers.push_back(yes);

        page.SSTab2->setCurrentIndex(macImage ? 0 : 1);

        QTEST(d.prompter.texts(), "prompts");
        const VlanPage &vlan = *form.vlanPage;
        QTEST(QStringLiteral("tab %1, %2 groups, %3%4")
                  .arg(page.SSTab2->currentIndex())
                  .arg(vlan.ListView1->topLevelItemCount())
                  .arg(page.macTrunkBoxes[0]->isChecked() ? 'M' : '-')
                  .arg(page.portTrunkBoxes[0]->isChecked() ? 'P' : '-'),
              "after");
        QCOMPARE(page.Option37->isChecked(), page.SSTab2->currentIndex() == 1);
        QCOMPARE(page.macPortBoxes[0][0]->isEnabled(), page.macTrunkBoxes[0]->isChecked());
        QCOMPARE(d.module.VlanGroupCount, vlan.ListView1->topLevelItemCount());
        QCOMPARE(vlan.Command17->isEnabled(), d.module.VlanGroupCount > 0);
        QVERIFY(vlan.Command15->isEnabled());
        if (d.module.VlanGroupCount)
            QCOMPARE(vlan.ListView1->topLevelItem(0)->text(1), QStringLiteral("1 2 "));
    }

    // Generated configurations: encode, decode into a new dialog, OK: the same words again.
    void roundTrip_data()
    {
        QTest::addColumn<int>("model");
        for (int model = 0; model < kModelCount; ++model)
            QTest::newRow(qPrintable(deviceModelInfo(model).listText)) << model;
    }
    void roundTrip()
    {
        QFETCH(int, model);
        QRandomGenerator random(model + 1);
        const int lastPort = model == Model32NWay ? 31 : model == Model24Sx ? 25 : 23;
        for (int run = 0; run < 40; ++run) {
            PropertiesFixture d(model);
            PortNumbers::buildPortMaps(d.module);
            Module1 &module = d.module;
            TrunkBoard board;
            board.enableModuleTrunks(module.Is32Port);
            board.selectMethod(random.bounded(4) ? TrunkMethod::MacAddress
                                                 : TrunkMethod::PortBased);
            for (int click = 0; click < 20; ++click) {
                const int t = random.bounded(module.Is32Port ? 8 : 6);
                const int box = random.bounded(9);
                if (box == 8)
                    board.setMacTrunk(t, !board.state().mac.trunk[t]);
                else if (board.state().mac.portEnabled[t][box])
                    board.setMacPort(t, box, !board.state().mac.port[t][box]);
            }
            board.setHashIndex(random.bounded(4));
            module.VlanGroupCount = random.bounded(run % 8 ? 6 : 33);
            for (int g = 0; g < module.VlanGroupCount; ++g) {
                for (int p = 0; p <= lastPort; ++p)
                    module.VlanPortMember[g][p] = random.bounded(4) == 0;
                for (int t = 0; t < kTrunkCount; ++t)
                    module.VlanTrunkMember[g][t] = random.bounded(5) == 0;
            }
            PropertiesCodec::encode(module, board.state());
            const ImageWords encoded = module.EepromImage;

            Form2 &form = d.open();
            QCOMPARE(form.vlanPage->Command15->isEnabled(), module.VlanGroupCount < 32);
            d.click({"Command3"});
            QVERIFY(module.EepromImage == encoded);
        }
    }
};

SWCFG_TEST_CLASS(TrunkPageTest)
#include "trunk_page_test.moc"
