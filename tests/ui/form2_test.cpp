#include "properties_fixture.h"
#include "support/image_builders.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    // Properties opens the dialog on the port page with the model's flags and port maps, no VLAN
    // members, port 1 shown and ports 25 to 32 on the 32-port model only. Its caption names the
    // model, or keeps the main caption after a confirmed change.
    void opensOnPortOne_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("configChanged");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("chipPortOf26");
        QTest::newRow("24-port") << 0 << false << "Properties of 24 Port N-Way Switch" << 27;
        QTest::newRow("1000Base-SX")
            << 1 << false << "Properties of 24 Port Switch, 1000Base-SX On Board" << 25;
        QTest::newRow("32-port after a change")
            << 2 << true << "Device Configuration -- Configuration of 32 Port N-Way Switch" << 27;
    }
    void opensOnPortOne()
    {
        QFETCH(int, model);
        QFETCH(bool, configChanged);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(model);
        h.module.ConfigChanged = configChanged;
        h.module.VlanPortMember[31][31] = true;
        h.module.VlanTrunkMember[4][7] = true;
        h.module.PortMap.fill(-1);
        const bool upper = model == Model32NWay;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            auto &form = dynamic_cast<Form2 &>(dialog);
            QTEST(form.windowTitle(), "caption");
            QCOMPARE(form.SSTab1->currentIndex(), 0);
            QCOMPARE(form.SearchOption(), std::optional<int>(0));
            QCOMPARE(form.portPage->Label2->text(), QStringLiteral("Configuration of Port 1"));
            for (int i = 0; i < 32; ++i)
                QCOMPARE(form.portPage->Option1[i]->isEnabled(), i < 24 || upper);
            form.portPage->Option1[24]->click();
            QCOMPARE(form.SearchOption(), std::optional<int>(upper ? 24 : 0));
        });

        h.window.Command2->click();

        QCOMPARE(h.dialogs.runs, 1);
        QCOMPARE(h.module.Is32Port, upper);
        QCOMPARE(h.module.Is1000SX, model == Model24Sx);
        QTEST(h.module.PortMap[25], "chipPortOf26");
        QCOMPARE(h.module.PortMap[32], -1);
        QVERIFY(!h.module.VlanPortMember[31][31]);
        QVERIFY(!h.module.VlanTrunkMember[4][7]);
    }

    // Cancel, or Escape, takes the port words of every device back: the defaults before anything
    // was loaded or applied (whatever the image holds), the image's words after that.
    void cancelRestoresThePortWords_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<bool>("escape");
        QTest::newRow("fresh start, Escape") << false << false << true;
        QTest::newRow("loaded, Cancel") << true << false << false;
        QTest::newRow("applied before, Cancel") << false << true << false;
    }
    void cancelRestoresThePortWords()
    {
        QFETCH(bool, loaded);
        QFETCH(bool, applied);
        QFETCH(bool, escape);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(Model32NWay);
        const ImageWords image = TestImages::validImage(Model32NWay);
        if (loaded)
            h.module.takeLoadedImage(image);
        else
            h.module.EepromImage = image;
        h.module.PropertiesApplied = applied;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            QVERIFY(clickButtons(
                dialog, {"Check1", "Check5", "Option1_5", "Check4", "Option1_31", "Check3"}));
            if (escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QVERIFY(clickButtons(dialog, {"Command4"}));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        });

        h.window.Command2->click();

        for (int d = 0; d < 4; ++d) {
            for (int i = 0; i < 16; ++i) {
                const quint16 expected = loaded || applied ? image[d][13 + i]
                                         : i % 2           ? kDefaultSecondPortWord
                                                           : kDefaultFirstPortWord;
                QCOMPARE(h.module.PortWords[d][i], expected);
            }
        }
        QVERIFY(h.module.EepromImage == image);
        QVERIFY(!h.module.ConfigChanged);
        QCOMPARE(h.module.PropertiesApplied, applied);
    }
};

SWCFG_TEST_CLASS(Form2Test)
#include "form2_test.moc"
