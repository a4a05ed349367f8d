#include "properties_fixture.h"
#include "support/test_main.h"
#include "ui/properties/properties_texts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace
{
constexpr quint16 kFirst = kDefaultFirstPortWord;   // 0x000F
constexpr quint16 kSecond = kDefaultSecondPortWord; // 0x4C5F: auto-negotiation, flow control
constexpr quint16 kForced100Full = 0x4CDF;
constexpr quint16 kForced10Half = 0x4CD1;

const QString kPort2 = QStringLiteral("Option1_1");
} // namespace

class PortPageTest : public QObject
{
    Q_OBJECT

private slots:
    // Ports 1 and 2 start from the given words; the dialog shows port 1; then the clicks. The
    // words of both ports and PhyUpdatePending (cleared after the dialog opened) are compared.
    void clickRules_data()
    {
        QTest::addColumn<quint16>("first1");
        QTest::addColumn<quint16>("second1");
        QTest::addColumn<quint16>("first2");
        QTest::addColumn<quint16>("second2");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<quint16>("expFirst1");
        QTest::addColumn<quint16>("expSecond1");
        QTest::addColumn<quint16>("expFirst2");
        QTest::addColumn<quint16>("expSecond2");
        QTest::addColumn<bool>("phy");

        const quint16 f = kFirst;
        const quint16 s = kSecond;
        using L = QStringList;
        // Security, address learning, storm control.
        QTest::newRow("security on sets the learning-disabled bit")
            << f << s << f << s << L{"Check1"} << quint16(0x005F) << s << f << s << false;
        QTest::newRow("security off again leaves learning off")
            << f << s << f << s << L{"Check1", "Check1"} << quint16(0x001F) << s << f << s << false;
        QTest::newRow("secured port shown after a learning port")
            << f << s << quint16(0x004F) << s << L{kPort2} << f << s << quint16(0x005F) << s
            << false;
        QTest::newRow("secured port shown after a secured port")
            << quint16(0x004F) << s << quint16(0x004F) << s << L{kPort2} << quint16(0x004F) << s
            << quint16(0x004F) << s << false;
        QTest::newRow("storm control")
            << f << s << f << s << L{"Check3"} << quint16(0x008F) << s << f << s << false;
        // Auto-negotiation.
        QTest::newRow("auto-negotiation off forces 100 full")
            << f << s << f << s << L{"Check5"} << f << kForced100Full << f << s << true;
        QTest::newRow("auto-negotiation on keeps flow control off")
            << f << quint16(0x40DF) << f << s << L{"Check5"} << f << quint16(0x405F) << f << s
            << true;
        QTest::newRow("auto port with abilities 7 shown after a forced port")
            << f << kForced10Half << f << quint16(0x4F57) << L{kPort2} << f << kForced10Half << f
            << s << true;
        QTest::newRow("auto port with abilities 7 shown after an auto port")
            << f << s << f << quint16(0x4C57) << L{kPort2} << f << s << f << quint16(0x4C57)
            << false;
        // Link modes 00 and 10 select neither mode.
        QTest::newRow("mode 00 after an auto port is forced to 100 full")
            << f << s << f << quint16(0x4C1F) << L{kPort2} << f << s << f << kForced100Full << true;
        QTest::newRow("mode 10 after an auto port is forced to 100 full")
            << f << s << f << quint16(0x4C9F) << L{kPort2} << f << s << f << kForced100Full << true;
        QTest::newRow("mode 00 after a forced port is left alone")
            << f << kForced10Half << f << quint16(0x4C1F) << L{kPort2} << f << kForced10Half << f
            << quint16(0x4C1F) << false;
        QTest::newRow("mode 10: a rate writes abilities only")
            << f << kForced10Half << f << quint16(0x4C9F) << L{kPort2, "Option34"} << f
            << kForced10Half << f << quint16(0x4C97) << true;
        // Forced ports: the buttons follow the highest ability bit.
        QTest::newRow("same forced choice")
            << f << kForced100Full << f << kForced100Full << L{kPort2} << f << kForced100Full << f
            << kForced100Full << false;
        QTest::newRow("other forced choice")
            << f << kForced100Full << f << quint16(0x4CD3) << L{kPort2} << f << kForced100Full << f
            << quint16(0x4CD3) << true;
        QTest::newRow("abilities 5 show as 100 half and are rewritten to 7")
            << f << kForced100Full << f << quint16(0x4CD5) << L{kPort2} << f << kForced100Full << f
            << quint16(0x4CD7) << true;
        // Rate and duplex patterns.
        QTest::newRow("100 half") << f << kForced100Full << f << s << L{"Option35"} << f
                                  << quint16(0x4CD7) << f << s << true;
        QTest::newRow("10 half") << f << kForced100Full << f << s << L{"Option35", "Option33"} << f
                                 << kForced10Half << f << s << true;
        QTest::newRow("10 full") << f << kForced100Full << f << s
                                 << L{"Option35", "Option33", "Option36"} << f << quint16(0x4CD3)
                                 << f << s << true;
        QTest::newRow("100 full") << f << kForced100Full << f << s
                                  << L{"Option35", "Option33", "Option36", "Option34"} << f
                                  << kForced100Full << f << s << true;
        QTest::newRow("rate buttons are locked under auto-negotiation")
            << f << s << f << s << L{"Option33", "Option35"} << f << s << f << s << false;
        // Flow control: bit 11 decides, both bits are written.
        QTest::newRow("flow control off")
            << f << s << f << s << L{"Check4"} << f << quint16(0x405F) << f << s << false;
        QTest::newRow("bit 10 alone shown after flow control on")
            << f << s << f << quint16(0x445F) << L{kPort2} << f << s << f << quint16(0x405F)
            << false;
        QTest::newRow("bit 10 alone shown after flow control off")
            << f << quint16(0x405F) << f << quint16(0x445F) << L{kPort2} << f << quint16(0x405F)
            << f << quint16(0x445F) << false;
    }
    void clickRules()
    {
        QFETCH(quint16, first1);
        QFETCH(quint16, second1);
        QFETCH(quint16, first2);
        QFETCH(quint16, second2);
        QFETCH(QStringList, clicks);
        PropertiesFixture fx;
        fx.first(1) = first1;
        fx.second(1) = second1;
        fx.first(2) = first2;
        fx.second(2) = second2;
        fx.open();
        fx.module.PhyUpdatePending = false;

        QVERIFY(fx.click(clicks));

        QTEST(fx.first(1), "expFirst1");
        QTEST(fx.second(1), "expSecond1");
        QTEST(fx.first(2), "expFirst2");
        QTEST(fx.second(2), "expSecond2");
        QTEST(fx.module.PhyUpdatePending, "phy");
    }

    void securityLocksAddressLearning()
    {
        PropertiesFixture fx;
        fx.open();
        PortPage &p = fx.page();
        QVERIFY(p.Check2->isChecked());
        fx.click({"Check1"});
        QVERIFY(!p.Check2->isEnabled());
        QVERIFY(!p.Check2->isChecked());
        fx.click({"Check2"});
        QVERIFY(!p.Check2->isChecked());
        fx.click({"Check1"});
        QVERIFY(p.Check2->isEnabled());
        QVERIFY(!p.Check2->isChecked());
    }

    void autoNegotiationLocksRateAndDuplex()
    {
        PropertiesFixture fx;
        fx.open();
        PortPage &p = fx.page();
        const std::array<QRadioButton *, 4> options{p.Option33, p.Option34, p.Option35, p.Option36};
        QVERIFY(p.Check5->isChecked());
        QVERIFY(!p.Frame2->isEnabled());
        for (QRadioButton *option : options)
            QVERIFY(!option->isEnabled() && !option->isChecked());

        fx.click({"Check5"});
        QVERIFY(p.Frame2->isEnabled() && p.Frame3->isEnabled() && p.Frame4->isEnabled());
        QVERIFY(p.Option34->isChecked() && p.Option36->isChecked());
        QVERIFY(!p.Option33->isChecked() && !p.Option35->isChecked());
        // Rate and duplex are chosen independently.
        fx.click({"Option33"});
        QVERIFY(p.Option33->isChecked() && !p.Option34->isChecked() && p.Option36->isChecked());

        fx.click({"Check5"});
        QVERIFY(!p.Frame2->isEnabled());
        for (QRadioButton *option : options)
            QVERIFY(!option->isEnabled() && !option->isChecked());
    }

    void upperPortsOnlyOnThe32PortModel_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("24-port") << int(Model24NWay);
        QTest::newRow("1000Base-SX") << int(Model24Sx);
        QTest::newRow("32-port") << int(Model32NWay);
    }
    void upperPortsOnlyOnThe32PortModel()
    {
        QFETCH(int, model);
        PropertiesFixture fx(model);
        fx.open();
        const bool upper = model == Model32NWay;
        for (int i = 0; i < 32; ++i)
            QCOMPARE(fx.page().Option1[i]->isEnabled(), i < 24 || upper);
        fx.click({"Option1_24"});
        QCOMPARE(fx.page().SearchOption(), std::optional<int>(upper ? 24 : 0));
    }

    void captions()
    {
        PropertiesFixture fx;
        Form2 &form = fx.open();
        PortPage &p = fx.page();
        QCOMPARE(form.SSTab1->tabText(1), QStringLiteral(" Trunk Assignment"));
        QCOMPARE(p.Option1[8]->text(), QStringLiteral(" 9"));
        QCOMPARE(p.Option1[31]->text(), QStringLiteral("32"));
        QCOMPARE(p.Label2->text(), QStringLiteral("Configuration of Port 1"));
    }
};

SWCFG_TEST_CLASS(PortPageTest)
#include "port_page_test.moc"
