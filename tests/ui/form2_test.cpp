#include "image/bin_file.h"
#include "image/device_models.h"
#include "properties_fixture.h"
#include "support/image_builders.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// A valid image of the model as a switch fresh from the factory would give: default port words,
// no trunk, no VLAN group, every port reaching every other.
ImageWords factoryImage(int model)
{
    ImageWords image = TestImages::validImage(model);
    for (auto &device : image) {
        for (int k = 0; k < 8; ++k) {
            device[13 + 2 * k] = kDefaultFirstPortWord;
            device[14 + 2 * k] = kDefaultSecondPortWord;
        }
        device[2] &= ~0x1800;
        device[3] &= ~0x0070;
        std::fill(device.begin() + 29, device.begin() + 45, 0xFFFF);
        std::fill(device.begin() + 48, device.end(), 0);
    }
    return image;
}

QString writeImageFile(const QTemporaryDir &dir, const ImageWords &image, int model)
{
    const QString path = dir.filePath(QStringLiteral("in.bin"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(BinFile::encode(image, model));
    return path;
}

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void loadShowsPortOneOnThePortPage()
    {
        PropertiesFixture fx(Model24Sx);
        fx.module.VlanPortMember[31][31] = true;
        fx.module.VlanTrunkMember[4][7] = true;
        fx.module.PortMap.fill(-1);
        Form2 &form = fx.open();
        QCOMPARE(form.SSTab1->currentIndex(), 0);
        QCOMPARE(form.SearchOption(), std::optional<int>(0));
        QCOMPARE(fx.page().Label2->text(), QStringLiteral("Configuration of Port 1"));
        QCOMPARE(fx.module.PortMap[25], 25);
        QCOMPARE(fx.module.PortMap[32], -1);
        QVERIFY(!fx.module.VlanPortMember[31][31]);
        QVERIFY(!fx.module.VlanTrunkMember[4][7]);
    }

    // OK stores the port words of the model's devices as words 13..28 and marks the change, so
    // that the next model change asks first.
    void okCommitsThePortWords_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("24-port") << int(Model24NWay);
        QTest::newRow("1000Base-SX") << int(Model24Sx);
        QTest::newRow("32-port") << int(Model32NWay);
    }
    void okCommitsThePortWords()
    {
        QFETCH(int, model);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(model);
        h.module.VlanMap[1][2] = 0x1200; // stale: OK starts the masks afresh
        int result = -1;
        const bool is32 = model == Model32NWay;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            // Storm control on port 1, and on port 29 (the module device's first port).
            QVERIFY(clickButtons(dialog, {"Check3"}));
            if (is32)
                QVERIFY(clickButtons(dialog, {"Option1_28", "Check3"}));
            QVERIFY(clickButtons(dialog, {"Command3"}));
            result = dialog.result();
        });

        h.window.Command2->click();

        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(h.module.EepromImage[0][15], 0x008F);
        QCOMPARE(h.module.EepromImage[3][13], is32 ? 0x008F : 0);
        // The port words of the model's devices are stored; words that no setting owns stay.
        for (int d = 0; d < 4; ++d) {
            const bool stored = d < 3 || is32;
            for (int w = 0; w < 64; ++w) {
                const bool portWord = w >= 13 && w <= 28;
                if (portWord && stored)
                    QCOMPARE(h.module.EepromImage[d][w], h.module.PortWords[d][w - 13]);
                else if (w == 1 || (w >= 4 && w <= 12) || (w >= 45 && w <= 47) || w >= 56)
                    QCOMPARE(h.module.EepromImage[d][w], quint16(0));
            }
        }
        // With no group and no trunk every port reaches every other port of the model.
        QCOMPARE(h.module.EepromImage[0][30], quint16(0xFFFF));
        const quint16 upperPorts[] = {0x00FF, 0x03FF, 0xFFFF};
        QCOMPARE(h.module.EepromImage[1][31], upperPorts[model]);
        QVERIFY(h.module.PropertiesApplied);
        QVERIFY(h.module.ConfigChanged);

        h.prompter.answers.push_back(false);
        h.window.Combo1->setCurrentIndex(model == 0 ? 1 : 0);
        QCOMPARE(h.prompter.texts(), QStringList{QStringLiteral(
                                         "Changes not saved !  Do you want to quit settings ?")});
        QCOMPARE(h.window.Combo1->currentIndex(), model);
    }

    // Cancel, or Escape, takes the port words back: the defaults before anything was loaded
    // (whatever the image holds), the image's words after Open.
    void cancelRestoresThePortWords_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("escape");
        QTest::newRow("fresh start, Cancel") << false << false;
        QTest::newRow("fresh start, Escape") << false << true;
        QTest::newRow("after Open, Cancel") << true << false;
        QTest::newRow("after Open, Escape") << true << true;
    }
    void cancelRestoresThePortWords()
    {
        QFETCH(bool, opened);
        QFETCH(bool, escape);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(Model32NWay);
        QTemporaryDir dir;
        ImageWords image = TestImages::validImage(Model32NWay);
        if (opened) {
            h.files.openPaths.push_back(writeImageFile(dir, image, Model32NWay));
            h.window.openConfiguration();
            QCOMPARE(h.module.PortWords[3][15], image[3][28]);
        } else {
            h.module.EepromImage[1][13] = 0x1234; // not loaded: must not come back
        }
        const ImageWords imageBefore = h.module.EepromImage;
        int result = -1;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            QVERIFY(clickButtons(
                dialog, {"Check1", "Check5", "Option1_5", "Check4", "Option1_31", "Check3"}));
            if (escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                QVERIFY(clickButtons(dialog, {"Command4"}));
            result = dialog.result();
        });

        h.window.Command2->click();

        QCOMPARE(result, int(QDialog::Rejected));
        for (int d = 0; d < 4; ++d) {
            for (int i = 0; i < 16; ++i) {
                const quint16 expected = opened  ? image[d][13 + i]
                                         : i % 2 ? kDefaultSecondPortWord
                                                 : kDefaultFirstPortWord;
                QCOMPARE(h.module.PortWords[d][i], expected);
            }
        }
        QVERIFY(h.module.EepromImage == imageBefore);
        QVERIFY(!h.module.ConfigChanged);
        QVERIFY(!h.module.PropertiesApplied);
    }

    // Open a file, change a few ports on the page (one by "Apply to other ports"), OK, Save: the
    // saved file differs from the opened one in exactly those words.
    void editedConfigurationIsSavedWordByWord()
    {
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(Model32NWay);
        QTemporaryDir dir;
        const ImageWords opened = factoryImage(Model32NWay);
        h.files.openPaths.push_back(writeImageFile(dir, opened, Model32NWay));
        h.window.Command3->click();
        QVERIFY(h.prompter.prompts.isEmpty());

        h.dialogs.actions.push_back([&](QDialog &dialog) {
            // Port 3: security. Port 7: forced 10 Mbps full duplex. Port 20: no flow control.
            // Port 29: storm control, then copied to port 30.
            QVERIFY(
                clickButtons(dialog, {"Option1_2", "Check1", "Option1_6", "Check5", "Option33",
                                      "Option1_19", "Check4", "Option1_28", "Check3", "Command2"}));
            QVERIFY(clickButtons(dialog, {"Command3"}));
        });
        h.dialogs.actions.push_back([&](QDialog &applyDialog) {
            QVERIFY(clickButtons(applyDialog, {"Check2_29", "Command1"}));
        });
        h.window.Command2->click();
        QCOMPARE(h.dialogs.runs, 2);

        const QString savedPath = dir.filePath(QStringLiteral("out.bin"));
        h.files.savePaths.push_back(savedPath);
        h.window.Command5->click();
        QVERIFY(h.prompter.prompts.isEmpty());

        ImageWords expected = opened;
        expected[0][23] = 0x005F; // port 3 = chip port 5
        expected[1][24] = 0x4CD3; // port 7 = chip port 13
        expected[1][26] = 0x405F; // port 20 = chip port 14
        expected[3][13] = 0x008F; // port 29 = chip port 24
        expected[3][17] = 0x008F; // port 30 = chip port 26
        QFile saved(savedPath);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QCOMPARE(bytes.size(), 4 * 256);
        for (int d = 0; d < 4; ++d) {
            for (int w = 0; w < 128; ++w) {
                const int at = d * 256 + 2 * w;
                const quint16 word = quint16(quint8(bytes[at]) << 8 | quint8(bytes[at + 1]));
                QVERIFY2(word == expected[d][w],
                         qPrintable(QStringLiteral("device %1 word %2: %3, expected %4")
                                        .arg(d)
                                        .arg(w)
                                        .arg(word, 4, 16, QLatin1Char('0'))
                                        .arg(expected[d][w], 4, 16, QLatin1Char('0'))));
            }
        }
    }
};

SWCFG_TEST_CLASS(Form2Test)
#include "form2_test.moc"
