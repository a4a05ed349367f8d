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

class PropertiesDialogTest : public QObject
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
        h.window.modelList->setCurrentIndex(model);
        h.state.configChanged = configChanged;
        h.state.vlanPortMember[31][31] = true;
        h.state.vlanTrunkMember[4][7] = true;
        h.state.portMap.fill(-1);
        const bool upper = model == Model32NWay;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            auto &form = dynamic_cast<PropertiesDialog &>(dialog);
            QTEST(form.windowTitle(), "caption");
            QCOMPARE(form.pageTabs->currentIndex(), 0);
            QCOMPARE(form.selectedPortIndex(), std::optional<int>(0));
            QCOMPARE(form.portPage->portHeading->text(), QStringLiteral("Configuration of Port 1"));
            for (int i = 0; i < 32; ++i)
                QCOMPARE(form.portPage->portButtons[i]->isEnabled(), i < 24 || upper);
            form.portPage->portButtons[24]->click();
            QCOMPARE(form.selectedPortIndex(), std::optional<int>(upper ? 24 : 0));
        });

        h.window.propertiesButton->click();

        QCOMPARE(h.dialogs.runs, 1);
        QCOMPARE(h.state.model().index, model);
        QTEST(h.state.portMap[25], "chipPortOf26");
        QCOMPARE(h.state.portMap[32], -1);
        QVERIFY(!h.state.vlanPortMember[31][31]);
        QVERIFY(!h.state.vlanTrunkMember[4][7]);
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
        h.window.modelList->setCurrentIndex(Model32NWay);
        const ImageWords image = TestImages::validImage(Model32NWay);
        if (loaded)
            h.state.takeLoadedImage(image);
        else
            h.state.eepromImage = image;
        h.state.propertiesApplied = applied;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            QVERIFY(clickButtons(dialog, {"securityBox", "autoNegotiationBox", "portButton_5",
                                          "flowControlBox", "portButton_31", "stormControlBox"}));
            if (escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QVERIFY(clickButtons(dialog, {"cancelButton"}));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        });

        h.window.propertiesButton->click();

        for (int d = 0; d < 4; ++d) {
            for (int i = 0; i < 16; ++i) {
                const quint16 expected = loaded || applied ? image[d][13 + i]
                                         : i % 2           ? kDefaultSecondPortWord
                                                           : kDefaultFirstPortWord;
                QCOMPARE(h.state.portWords[d][i], expected);
            }
        }
        QVERIFY(h.state.eepromImage == image);
        QVERIFY(!h.state.configChanged);
        QCOMPARE(h.state.propertiesApplied, applied);
    }
};

SWCFG_TEST_CLASS(PropertiesDialogTest)
#include "properties_dialog_test.moc"
