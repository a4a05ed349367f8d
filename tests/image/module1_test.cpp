#include "image/module1.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTest>

using TestImages::tagWord;

namespace
{

bool portWordsAreDefaults(const Module1 &module, int device)
{
    for (int k = 0; k < 8; ++k) {
        if (module.PortWords[device][2 * k] != 15 || module.PortWords[device][2 * k + 1] != 19551)
            return false;
    }
    return true;
}

Module1 moduleWithTaggedImage()
{
    Module1 module;
    module.applyStartupDefaults();
    for (int d = 0; d < 4; ++d)
        for (int w = 0; w < 128; ++w)
            module.EepromImage[d][w] = tagWord(d, w);
    return module;
}

} // namespace

class Module1Test : public QObject
{
    Q_OBJECT

private slots:
    // Which devices PortWordsFromImage copies, by model and by what was loaded or applied.
    void portWordsFromImage_data()
    {
        QTest::addColumn<bool>("is32Port");
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("applied");
        QTest::addColumn<int>("copiedDevices"); // 0: every device gets the defaults
        QTest::newRow("nothing loaded, 24-port") << false << false << false << 0;
        QTest::newRow("nothing loaded, 32-port") << true << false << false << 0;
        QTest::newRow("loaded, 24-port or 1000Base-SX") << false << true << false << 3;
        QTest::newRow("loaded, 32-port") << true << true << false << 4;
        QTest::newRow("applied only, 32-port") << true << false << true << 4;
    }
    void portWordsFromImage()
    {
        QFETCH(bool, is32Port);
        QFETCH(bool, loaded);
        QFETCH(bool, applied);
        QFETCH(int, copiedDevices);
        Module1 module = moduleWithTaggedImage();
        module.Is32Port = is32Port;
        module.ImageLoaded = loaded;
        module.PropertiesApplied = applied;
        for (auto &device : module.PortWords)
            device.fill(0x7777);

        module.PortWordsFromImage();

        for (int d = 0; d < 4; ++d) {
            if (copiedDevices == 0) {
                QVERIFY(portWordsAreDefaults(module, d));
            } else if (d < copiedDevices) {
                for (int i = 0; i < 16; ++i)
                    QCOMPARE(module.PortWords[d][i], tagWord(d, 13 + i));
            } else {
                for (int i = 0; i < 16; ++i)
                    QCOMPARE(module.PortWords[d][i], 0x7777); // device 3 kept as it was
            }
        }
    }

    void portWordsToImage_data()
    {
        QTest::addColumn<bool>("is32Port");
        QTest::newRow("24-port models") << false;
        QTest::newRow("32-port") << true;
    }
    void portWordsToImage()
    {
        QFETCH(bool, is32Port);
        Module1 module = moduleWithTaggedImage();
        module.Is32Port = is32Port;
        for (int d = 0; d < 4; ++d)
            for (int i = 0; i < 16; ++i)
                module.PortWords[d][i] = static_cast<quint16>(0x5000 + 16 * d + i);

        module.PortWordsToImage();

        for (int d = 0; d < 4; ++d) {
            const bool copied = d < 3 || is32Port;
            QCOMPARE(module.EepromImage[d][12], tagWord(d, 12));
            QCOMPARE(module.EepromImage[d][29], tagWord(d, 29));
            for (int i = 0; i < 16; ++i)
                QCOMPARE(module.EepromImage[d][13 + i],
                         copied ? 0x5000 + 16 * d + i : tagWord(d, 13 + i));
        }
    }

    void modelResetClearsTheConfiguration()
    {
        Module1 module = moduleWithTaggedImage();
        module.ConfigChanged = true;
        module.PropertiesApplied = true;
        module.ImageLoaded = true;
        module.VlanGroupCount = 5;
        module.VlanMap[1][1] = 0x00FF;
        module.PortWords[3][4] = 0;

        module.resetForModelChange();

        QVERIFY(!module.ConfigChanged);
        QVERIFY(!module.PropertiesApplied);
        QCOMPARE(module.VlanGroupCount, 0);
        for (const auto &device : module.EepromImage)
            for (quint16 word : device)
                QCOMPARE(word, 0);
        for (int d = 0; d < 4; ++d)
            QVERIFY(portWordsAreDefaults(module, d));
        // Left alone by the reset.
        QVERIFY(module.ImageLoaded);
        QCOMPARE(module.VlanMap[1][1], 0x00FF);
    }
};

SWCFG_TEST_CLASS(Module1Test)
#include "module1_test.moc"
