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
};

SWCFG_TEST_CLASS(SwitchConfigurationTest)
#include "switch_configuration_test.moc"
