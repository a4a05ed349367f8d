#include "factory_image.h"
#include "image/bin_file.h"
#include "support/test_main.h"

#include <QTest>

class FactoryImageTest : public QObject
{
    Q_OBJECT

private slots:
    void isAValidImageOfItsModel_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("devices");
        QTest::addColumn<quint16>("modelWord");
        QTest::addColumn<quint16>("highMask");
        QTest::addColumn<int>("lastPort"); // chip port
        QTest::newRow("24-port") << 0 << 3 << quint16(0x10C0) << quint16(0x00FF) << 23;
        QTest::newRow("1000Base-SX") << 1 << 4 << quint16(0xB1C0) << quint16(0x03FF) << 25;
        QTest::newRow("32-port") << 2 << 4 << quint16(0x31C0) << quint16(0xFFFF) << 31;
    }
    void isAValidImageOfItsModel()
    {
        QFETCH(int, model);
        QFETCH(int, devices);
        QFETCH(quint16, modelWord);
        QFETCH(quint16, highMask);
        QFETCH(int, lastPort);
        const ImageWords image = factoryImage(model);
        QCOMPARE(BinFile::check(image, model), BinFile::Verdict::Accepted);
        QCOMPARE(image[0][11], modelWord);

        for (int d = 0; d < 4; ++d) {
            const bool fitted = d < devices;
            QCOMPARE(image[d][0], fitted ? 0x1810 : 0);
            for (int k = 0; k < 8; ++k) {
                // The fiber module uses some of these words otherwise; checked below.
                if (d < 3 || model != 1) {
                    QCOMPARE(image[d][13 + 2 * k], fitted ? 15 : 0);
                    QCOMPARE(image[d][14 + 2 * k], fitted ? 19551 : 0);
                }
                // Every port of the model reaches every port of the model, and no other.
                const bool inModel = 8 * d + k <= lastPort;
                QCOMPARE(image[d][29 + 2 * k], inModel ? highMask : 0);
                QCOMPARE(image[d][30 + 2 * k], inModel ? 0xFFFF : 0);
            }
        }
        for (int d = 0; d < 4; ++d) {
            for (int w : {1, 2, 3, 12, 45, 48, 64, 66, 127})
                QCOMPARE(image[d][w], quint16(d == 0 && w == 11 ? modelWord : 0));
        }
    }

    void fiberModuleWordsOverlayThePortWords()
    {
        // Words 16..19: the masks of the two gigabit ports; 21..24: their trunk words.
        const std::array<quint16, 16> sx{15,     19551, 15,     0x03FF, 0xFFFF, 0x03FF,
                                         0xFFFF, 19551, 0xF00F, 0xF00F, 0xF00F, 0xF00F,
                                         15,     19551, 15,     19551};
        for (int i = 0; i < 16; ++i)
            QCOMPARE(factoryImage(1)[3][13 + i], sx[i]);
    }
};

SWCFG_TEST_CLASS(FactoryImageTest)
#include "factory_image_test.moc"
