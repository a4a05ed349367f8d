#include "switch_rig.h"

#include "image/device_models.h"
#include "support/test_main.h"
#include "ui/properties/trunk_mapping_dialog.h"
#include "ui/properties/trunk_page.h"
#include "ui/properties/vlan_page.h"
#include "ui/properties_fixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

class ConfigurationRoadTest : public QObject
{
    Q_OBJECT

private slots:
    // A first configuration from Read to Write, as a new user makes it: port settings, the
    // model's kind of trunks and a VLAN group holding ports and a trunk, set in the dialogs. The
    // switch ends up holding the image, a new dialog takes it up unchanged, and it survives Save
    // and Open in a fresh window. The window keeps its size through the transfers.
    void readEditWriteSaveOpen_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QStringList>("trunkClicks"); // on the trunk page, then the mapping
        QTest::addColumn<QStringList>("groupClicks"); // in "Add a new VLAN Group"
        QTest::newRow("24-port, MAC-address-based trunks 1 and 2")
            << 0 << QStringList{"macBasedOption", "macTrunkBox_0", "macTrunkBox_1"}
            << QStringList{"portBox_4", "portBox_5", "trunkBox_0"};
        QTest::newRow("1000Base-SX, port-based trunk 1 of three ports")
            << 1
            << QStringList{"portBasedOption", "portTrunkBox_0", "memberBox_0_3", "mappingButton_0"}
            << QStringList{"portBox_24", "portBox_25", "trunkBox_0"};
        QTest::newRow("32-port, MAC-address-based trunk 7")
            << 2 << QStringList{"macBasedOption", "macTrunkBox_6"}
            << QStringList{"portBox_0", "portBox_31", "trunkBox_6"};
    }
    void readEditWriteSaveOpen()
    {
        QFETCH(int, model);
        QFETCH(QStringList, trunkClicks);
        QFETCH(QStringList, groupClicks);
        SwitchRig rig;
        QVERIFY2(rig.start(model), qPrintable(rig.sim.errorString()));
        MainWindow &window = rig.h.window;
        const QSize size = window.size();
        window.readButton->click();

        auto &dialogs = rig.h.dialogs.actions;
        dialogs.push_back([&](QDialog &dialog) {
            // Port 7: storm control, forced 10 Mbps full duplex.
            QVERIFY(clickButtons(
                dialog, {"portButton_6", "stormControlBox", "autoNegotiationBox", "rate10Option"}));
            QVERIFY(clickButtons(dialog, trunkClicks));
            QVERIFY(clickButtons(dialog, {"addButton", "okButton"}));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        if (trunkClicks.contains("mappingButton_0"))
            dialogs.push_back([](QDialog &dialog) { mapEveryPort(dialog); });
        dialogs.push_back([&](QDialog &dialog) {
            QVERIFY(clickButtons(dialog, groupClicks + QStringList{"okButton"}));
        });
        window.propertiesButton->click();
        QVERIFY(dialogs.empty());
        QVERIFY(rig.h.state.configChanged && rig.h.state.propertiesApplied);
        const ImageWords configured = rig.h.state.eepromImage;

        window.writeButton->click();
        QVERIFY2(rig.h.prompter.prompts.isEmpty(), qPrintable(rig.h.prompter.texts().join('|')));
        const std::optional<ImageWords> held = rig.sim.stateImage();
        QVERIFY(held);
        for (int d = 0; d < deviceCountOf(model); ++d)
            QCOMPARE((*held)[d], configured[d]);
        QVERIFY(rig.settle());
        QCOMPARE(rig.logCount("reset"), 1);
        QCOMPARE(window.size(), size);

        dialogs.push_back([&](QDialog &dialog) {
            auto &form = static_cast<PropertiesDialog &>(dialog);
            QVERIFY(clickButtons(dialog, {"portButton_6"}));
            QVERIFY(form.portPage->stormControlBox->isChecked() &&
                    form.portPage->rate10Option->isChecked());
            QCOMPARE(form.vlanPage->groupList->topLevelItemCount(), 1);
            const int trunk = groupClicks.last().mid(9).toInt() + 1; // "trunkBox_t"
            QCOMPARE(form.vlanPage->groupList->topLevelItem(0)->text(2), QString("%1 ").arg(trunk));
            QCOMPARE(form.trunkPage->mappingLabels[0]->text(),
                     QString(model == 1 ? "ok" : "not yet"));
            QVERIFY(clickButtons(dialog, {"okButton"}));
        });
        window.propertiesButton->click();
        QVERIFY(rig.h.state.eepromImage == configured);

        const QString saved = QDir(rig.sim.folder()).filePath("saved.bin");
        rig.h.files.paths.push_back(saved);
        window.saveButton->click();
        MainWindowHarness fresh;
        fresh.window.modelList->setCurrentIndex(model);
        fresh.files.paths.push_back(saved);
        fresh.window.openButton->click();
        for (int d = 0; d < deviceCountOf(model); ++d)
            QCOMPARE(fresh.state.eepromImage[d], configured[d]);
    }
};

SWCFG_TEST_CLASS(ConfigurationRoadTest)
#include "configuration_road_test.moc"
