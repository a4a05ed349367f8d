#include "config/switch_configuration.h"
#include "image/factory_image.h"
#include "image/port_word_codec.h"
#include "support/test_main.h"
#include "ui/properties_fixture.h"

#include <QTest>

class SwitchConfigurationTest : public QObject
{
    Q_OBJECT

private slots:
    // Opening the dialog shows port 1, and the rules its controls run rewrite port 1's second word
    // exactly as the plain decode says.
    void firstPortAsShown_data()
    {
        QTest::addColumn<quint16>("second");
        QTest::newRow("defaults") << quint16(0x4C5F);
        QTest::newRow("auto, abilities 7, bits 8 and 9") << quint16(0x4347);
        QTest::newRow("forced 100 full and 10 half") << quint16(0x48C9);
        QTest::newRow("forced, no ability") << quint16(0x44C0);
        QTest::newRow("neither mode") << quint16(0x0885);
    }
    void firstPortAsShown()
    {
        QFETCH(quint16, second);
        PropertiesFixture d(Model24NWay);
        d.second(1) = second;
        d.open();
        QCOMPARE(d.second(1), PortWord::asShownFirst(second));
        QCOMPARE(d.first(1), kDefaultFirstPortWord);
    }

    // A change of the hash method alone is stored.
    void hashMethodAlone()
    {
        ImageWords image = factoryImage(Model24NWay);
        image[0][0] |= 0x0008; // MAC-address-based trunk 1
        image[0][48] = 0x00AA;
        OpenedConfiguration opened(image, Model24NWay);
        SwitchConfiguration wanted = opened.settings();
        wanted.hashIndex = 2;
        QCOMPARE(opened.encode(wanted)[1][52], quint16(0xAAAA));
    }
};

SWCFG_TEST_CLASS(SwitchConfigurationTest)
#include "switch_configuration_test.moc"
