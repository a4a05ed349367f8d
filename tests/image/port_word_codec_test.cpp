#include "image/port_word_codec.h"
#include "support/test_main.h"

#include <QTest>

using namespace PortWord;

class PortWordCodecTest : public QObject
{
    Q_OBJECT

private slots:
    // Each rate and duplex pattern over words whose other bits must survive; the highest
    // ability bit of the result names the same choice again.
    void abilities_data()
    {
        QTest::addColumn<bool>("rate10");
        QTest::addColumn<bool>("half");
        QTest::addColumn<quint16>("before");
        QTest::addColumn<quint16>("after");
        QTest::newRow("10 half") << true << true << quint16(0x4CDF) << quint16(0x4CD1);
        QTest::newRow("10 full") << true << false << quint16(0x4CD0) << quint16(0x4CD3);
        QTest::newRow("100 half") << false << true << quint16(0xFFF1) << quint16(0xFFF7);
        QTest::newRow("100 full") << false << false << quint16(0x0000) << quint16(0x000F);
    }
    void abilities()
    {
        QFETCH(bool, rate10);
        QFETCH(bool, half);
        QFETCH(quint16, before);
        QFETCH(quint16, after);
        const RateDuplex choice{rate10 ? Rate::Mbps10 : Rate::Mbps100,
                                half ? Duplex::Half : Duplex::Full};
        QCOMPARE(withAbilities(before, choice), after);
        QCOMPARE(forcedChoice(after), std::optional<RateDuplex>(choice));
        QCOMPARE(forcedChoice(after & ~kAbilityMask), std::nullopt);
    }

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

    // One setter per flag, read back by its test; unrelated bits untouched.
    void flags_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("on");
        QTest::addColumn<quint16>("before");
        QTest::addColumn<quint16>("after");
        QTest::newRow("security on") << "security" << true << quint16(0x020F) << quint16(0x024F);
        QTest::newRow("learning off sets its bit")
            << "learning" << false << quint16(0x000F) << quint16(0x001F);
        QTest::newRow("learning on clears it")
            << "learning" << true << quint16(0xFFFF) << quint16(0xFFEF);
        QTest::newRow("storm off") << "storm" << false << quint16(0xFFFF) << quint16(0xFF7F);
        QTest::newRow("flow on sets both bits")
            << "flow" << true << quint16(0x405F) << quint16(0x4C5F);
        QTest::newRow("flow off clears both bits")
            << "flow" << false << quint16(0x4C5F) << quint16(0x405F);
    }
    void flags()
    {
        QFETCH(QString, flag);
        QFETCH(bool, on);
        QFETCH(quint16, before);
        QFETCH(quint16, after);
        const auto check = [&](quint16 (*set)(quint16, bool), bool (*test)(quint16)) {
            QCOMPARE(set(before, on), after);
            QCOMPARE(test(after), on);
        };
        if (flag == "security")
            check(withSecurity, securityOn);
        else if (flag == "learning")
            check(withLearning, learningOn);
        else if (flag == "storm")
            check(withStormControl, stormControlOn);
        else
            check(withFlowControl, flowControlOn);
    }

    void flowControlIsReadFromBit11Alone()
    {
        QVERIFY(!flowControlOn(0x0400));
        QVERIFY(flowControlOn(0x0800));
    }
};

SWCFG_TEST_CLASS(PortWordCodecTest)
#include "port_word_codec_test.moc"
