#include "image/device_models.h"
#include "image/port_map.h"
#include "properties_fixture.h"
#include "support/test_main.h"
#include "ui/properties/form3.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    // The source port's box is checked and locked; OK waits for a click and counts the boxes
    // of ports 1..31 only.
    void enableRules_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("box");
        QTest::addColumn<bool>("okAfterCheck");
        QTest::addColumn<bool>("okAfterUncheck");
        QTest::newRow("port 1, another port") << int(Model32NWay) << 0 << 5 << true << true;
        QTest::newRow("port 5, port 32") << int(Model32NWay) << 4 << 31 << true << true;
        QTest::newRow("port 32, another port") << int(Model32NWay) << 31 << 5 << true << false;
        QTest::newRow("port 29 stays locked") << int(Model32NWay) << 28 << 5 << true << true;
        QTest::newRow("24-port, port 24") << int(Model24NWay) << 23 << 0 << true << true;
        QTest::newRow("1000Base-SX, port 25 locked") << int(Model24Sx) << 3 << 24 << false << false;
    }
    void enableRules()
    {
        QFETCH(int, model);
        QFETCH(int, source);
        QFETCH(int, box);
        PropertiesFixture fx(model);
        PortNumbers::buildPortMaps(fx.module);
        fx.module.ApplySourcePort = source;
        Form3 dialog(fx.module);

        QVERIFY(dialog.Check2[source]->isChecked());
        QVERIFY(!dialog.Check2[source]->isEnabled());
        QVERIFY(!dialog.Command1->isEnabled());
        for (int i = 24; i < 32; ++i)
            QCOMPARE(dialog.Check2[i]->isEnabled(), model == Model32NWay && i != source);

        dialog.Check2[box]->click();
        QTEST(dialog.Command1->isEnabled(), "okAfterCheck");
        dialog.Check2[box]->click();
        QTEST(dialog.Command1->isEnabled(), "okAfterUncheck");
    }

    // Both words of the port shown go whole to every ticked port, without touching the page or
    // PhyUpdatePending; Cancel writes nothing.
    void copiesBothWordsWhole_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void copiesBothWordsWhole()
    {
        QFETCH(bool, confirm);
        PropertiesFixture fx(Model32NWay);
        const quint16 sourceFirst = 0x82D5;  // trunk flag, storm, security, learning off, more
        const quint16 sourceSecond = 0x4CD3; // forced 10 Mbps full duplex
        fx.first(3) = sourceFirst;
        fx.second(3) = sourceSecond;
        fx.second(13) = 0x4CD1;
        fx.open();
        QVERIFY(fx.click({"Option1_2"}));
        fx.module.PhyUpdatePending = false;
        const PortWordTable before = fx.module.PortWords;

        fx.dialogs.actions.push_back([&](QDialog &dialog) {
            QVERIFY(clickButtons(dialog, {"Check2_0", "Check2_12", "Check2_28", "Check2_31",
                                          confirm ? "Command1" : "Command2"}));
        });
        QVERIFY(fx.click({"Command2"}));

        PortWordTable expected = before;
        if (confirm) {
            for (int port : {1, 13, 29, 32}) {
                PortWord::firstWord(expected, fx.chipPort(port)) = sourceFirst;
                PortWord::secondWord(expected, fx.chipPort(port)) = sourceSecond;
            }
        }
        QVERIFY(fx.module.PortWords == expected);
        QVERIFY(!fx.module.PhyUpdatePending);
        QCOMPARE(fx.page().Label2->text(), QStringLiteral("Configuration of Port 3"));
        QCOMPARE(fx.first(3), sourceFirst);
        QCOMPARE(fx.second(3), sourceSecond);
    }
};

SWCFG_TEST_CLASS(Form3Test)
#include "form3_test.moc"
