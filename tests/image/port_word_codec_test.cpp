#include "image/port_word_codec.h"
#include "support/test_main.h"

#include <QTest>

using namespace PortWord;

class PortWordCodecTest : public QObject
{
    Q_OBJECT

private slots:
    // Writing a mode clears bits 6 to 9 first; auto-negotiation also advertises everything.
    void linkModes_data()
    {
        QTest::addColumn<quint16>("word");
        QTest::addColumn<int>("mode");
        QTest::addColumn<quint16>("autoWord");
        QTest::addColumn<quint16>("forcedWord");
        QTest::newRow("default") << quint16(0x4C5F) << int(LinkMode::AutoNegotiation)
                                 << quint16(0x4C5F) << quint16(0x4CDF);
        QTest::newRow("00") << quint16(0x4C11) << int(LinkMode::Neither) << quint16(0x4C5F)
                            << quint16(0x4CD1);
        QTest::newRow("10, bits 8 and 9 set")
            << quint16(0x4F93) << int(LinkMode::Neither) << quint16(0x4C5F) << quint16(0x4CD3);
        QTest::newRow("11") << quint16(0x00C7) << int(LinkMode::Forced) << quint16(0x004F)
                            << quint16(0x00C7);
    }
    void linkModes()
    {
        QFETCH(quint16, word);
        QFETCH(int, mode);
        QCOMPARE(int(linkMode(word)), mode);
        QTEST(withAutoNegotiation(word), "autoWord");
        QTEST(withForcedMode(word), "forcedWord");
    }

    void flowControlIsReadFromBit11Alone()
    {
        QVERIFY(!flowControlOn(0x0400));
        QVERIFY(flowControlOn(0x0800));
    }
};

SWCFG_TEST_CLASS(PortWordCodecTest)
#include "port_word_codec_test.moc"
