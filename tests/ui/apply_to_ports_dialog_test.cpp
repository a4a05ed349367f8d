#include "image/device_models.h"
#include "image/port_map.h"
#include "properties_fixture.h"
#include "support/test_main.h"
#include "ui/properties/apply_to_ports_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class ApplyToPortsDialogTest : public QObject
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
        PortNumbers::buildPortMaps(fx.state);
        ApplyToPortsDialog dialog(fx.state, source);

        QVERIFY(dialog.portBoxes[source]->isChecked());
        QVERIFY(!dialog.portBoxes[source]->isEnabled());
        QVERIFY(!dialog.okButton->isEnabled());
        for (int i = 24; i < 32; ++i)
            QCOMPARE(dialog.portBoxes[i]->isEnabled(), model == Model32NWay && i != source);

        dialog.portBoxes[box]->click();
        QTEST(dialog.okButton->isEnabled(), "okAfterCheck");
        dialog.portBoxes[box]->click();
        QTEST(dialog.okButton->isEnabled(), "okAfterUncheck");
    }

    // Both words of the port shown go whole to every ticked port, without touching the page or
    // phyUpdatePending, on Enter; Escape writes nothing.
    void copiesBothWordsWhole_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("Enter") << true;
        QTest::newRow("Escape") << false;
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
        QVERIFY(fx.click({"portButton_2"}));
        fx.state.phyUpdatePending = false;
        const PortWordTable before = fx.state.portWords;

        fx.dialogs.actions.push_back([&](QDialog &dialog) {
            QVERIFY(clickButtons(dialog, {"portBox_0", "portBox_12", "portBox_28", "portBox_31"}));
            dialog.show();
            QTest::keyClick(&dialog, confirm ? Qt::Key_Return : Qt::Key_Escape);
        });
        QVERIFY(fx.click({"applyButton"}));

        PortWordTable expected = before;
        if (confirm) {
            for (int port : {1, 13, 29, 32}) {
                PortWord::firstWord(expected, fx.chipPort(port)) = sourceFirst;
                PortWord::secondWord(expected, fx.chipPort(port)) = sourceSecond;
            }
        }
        QVERIFY(fx.state.portWords == expected);
        QVERIFY(!fx.state.phyUpdatePending);
        QCOMPARE(fx.page().portHeading->text(), QStringLiteral("Configuration of Port 3"));
        QCOMPARE(fx.first(3), sourceFirst);
        QCOMPARE(fx.second(3), sourceSecond);
    }
};

SWCFG_TEST_CLASS(ApplyToPortsDialogTest)
#include "apply_to_ports_dialog_test.moc"
