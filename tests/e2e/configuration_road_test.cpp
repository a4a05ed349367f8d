#include "switch_rig.h"

#include "config/trunk/form4.h"
#include "config/trunk/trunk_page.h"
#include "config/vlan/vlan_page.h"
#include "image/device_models.h"
#include "support/test_main.h"
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
            << 0 << QStringList{"Option37", "Check29", "Check28"}
            << QStringList{"Check1_4", "Check1_5", "Check2_0"};
        QTest::newRow("1000Base-SX, port-based trunk 1 of three ports")
            << 1 << QStringList{"Option38", "Check6", "Check14_3", "Command7"}
            << QStringList{"Check1_24", "Check1_25", "Check2_0"};
        QTest::newRow("32-port, MAC-address-based trunk 7")
            << 2 << QStringList{"Option37", "Check23"}
            << QStringList{"Check1_0", "Check1_31", "Check2_6"};
    }
    void readEditWriteSaveOpen()
    {
        QFETCH(int, model);
        QFETCH(QStringList, trunkClicks);
        QFETCH(QStringList, groupClicks);
        SwitchRig rig;
        QVERIFY2(rig.start(model), qPrintable(rig.sim.errorString()));
        Form1 &window = rig.h.window;
        const QSize size = window.size();
        window.Command8->click();

        auto &dialogs = rig.h.dialogs.actions;
        dialogs.push_back([&](QDialog &dialog) {
            // Port 7: storm control, forced 10 Mbps full duplex.
            QVERIFY(clickButtons(dialog, {"Option1_6", "Check3", "Check5", "Option33"}));
            QVERIFY(clickButtons(dialog, trunkClicks));
            QVERIFY(clickButtons(dialog, {"Command15", "Command3"}));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        });
        if (trunkClicks.contains("Command7"))
            dialogs.push_back([](QDialog &dialog) { mapEveryPort(dialog); });
        dialogs.push_back([&](QDialog &dialog) {
            // A group takes the ports of the model and trunks in use, and nothing else.
            const auto *port32 = dialog.findChild<QCheckBox *>("Check1_31");
            const auto *trunk7 = dialog.findChild<QCheckBox *>("Check2_6");
            QCOMPARE(port32->isEnabled() || trunk7->isEnabled(), model == 2);
            QVERIFY(clickButtons(dialog, groupClicks + QStringList{"Command1"}));
        });
        window.Command2->click();
        QVERIFY(dialogs.empty());
        QVERIFY(rig.h.module.ConfigChanged && rig.h.module.PropertiesApplied);
        const ImageWords configured = rig.h.module.EepromImage;

        window.Command7->click();
        QVERIFY2(rig.h.prompter.prompts.isEmpty(), qPrintable(rig.h.prompter.texts().join('|')));
        const std::optional<ImageWords> held = rig.sim.stateImage();
        QVERIFY(held);
        for (int d = 0; d < deviceCountOf(model); ++d)
            QCOMPARE((*held)[d], configured[d]);
        QVERIFY(rig.settle());
        QCOMPARE(rig.logCount("reset"), 1);
        QCOMPARE(window.size(), size);

        dialogs.push_back([&](QDialog &dialog) {
            auto &form = static_cast<Form2 &>(dialog);
            QVERIFY(clickButtons(dialog, {"Option1_6"}));
            QVERIFY(form.portPage->Check3->isChecked() && form.portPage->Option33->isChecked());
            QCOMPARE(form.vlanPage->ListView1->topLevelItemCount(), 1);
            const int trunk = groupClicks.last().mid(7).toInt() + 1; // "Check2_t"
            QCOMPARE(form.vlanPage->ListView1->topLevelItem(0)->text(2), QString("%1 ").arg(trunk));
            QCOMPARE(form.trunkPage->mappingLabels[0]->text(),
                     QString(model == 1 ? "ok" : "not yet"));
            QVERIFY(clickButtons(dialog, {"Command3"}));
        });
        window.Command2->click();
        QVERIFY(rig.h.module.EepromImage == configured);

        const QString saved = QDir(rig.sim.folder()).filePath("saved.bin");
        rig.h.files.paths.push_back(saved);
        window.Command5->click();
        MainWindowHarness fresh;
        fresh.window.Combo1->setCurrentIndex(model);
        fresh.files.paths.push_back(saved);
        fresh.window.Command3->click();
        for (int d = 0; d < deviceCountOf(model); ++d)
            QCOMPARE(fresh.module.EepromImage[d], configured[d]);
    }
};

SWCFG_TEST_CLASS(ConfigurationRoadTest)
#include "configuration_road_test.moc"
