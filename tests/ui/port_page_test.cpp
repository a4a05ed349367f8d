#include "properties_fixture.h"
#include "support/test_main.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>

namespace
{

constexpr quint16 f = kDefaultFirstPortWord;  // 0x000F
constexpr quint16 s = kDefaultSecondPortWord; // 0x4C5F: auto-negotiation, flow control
constexpr quint16 kForced100Full = 0x4CDF;
constexpr quint16 kForced10Half = 0x4CD1;
const QString kPort2 = QStringLiteral("portButton_1");

// The address learning box: "on" or "off", after "locked" while it is disabled.
QString learningBox(const PortPage &p)
{
    return QString(p.learningBox->isEnabled() ? "" : "locked ") +
           (p.learningBox->isChecked() ? "on" : "off");
}

// The rate and duplex chosen, "100 full" say ("-" for none), after "locked" while all seven
// controls of the choice are disabled.
QString rateDuplex(const PortPage &p)
{
    int locked = 0;
    for (QWidget *control : std::initializer_list<QWidget *>{
             p.rateDuplexPanel, p.rateFrame, p.duplexFrame, p.rate10Option, p.rate100Option,
             p.halfDuplexOption, p.fullDuplexOption})
        locked += control->isEnabled() ? 0 : 1;
    const char *rate = p.rate10Option->isChecked()    ? "10"
                       : p.rate100Option->isChecked() ? "100"
                                                      : "-";
    const char *duplex = p.halfDuplexOption->isChecked()   ? "half"
                         : p.fullDuplexOption->isChecked() ? "full"
                                                           : "-";
    return QString(locked == 0   ? ""
                   : locked == 7 ? "locked "
                                 : "partly locked ") +
           rate + ' ' + duplex;
}

} // namespace

class PortPageTest : public QObject
{
    Q_OBJECT

private slots:
    // Ports 1 and 2 start from the given words (first and second of port 1, then of port 2); the
    // dialog shows port 1; then the clicks. Compared: the words of both ports, phyUpdatePending
    // (cleared after the dialog opened), and the learning and rate and duplex controls shown.
    void clickRules_data()
    {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<bool>("phy");
        QTest::addColumn<QString>("learning");
        QTest::addColumn<QString>("rateDuplex");
        const auto row = [](const char *name, const QList<int> &before, const QStringList &clicks,
                            const QList<int> &after, bool phy, const char *learning,
                            const char *rateDuplex) {
            QTest::newRow(name) << before << clicks << after << phy << QString(learning)
                                << QString(rateDuplex);
        };
        // Security locks address learning.
        row("security on sets the learning-disabled bit", {f, s, f, s}, {"securityBox"},
            {0x005F, s, f, s}, false, "locked off", "locked - -");
        row("security off again leaves learning off", {f, s, f, s}, {"securityBox", "securityBox"},
            {0x001F, s, f, s}, false, "off", "locked - -");
        row("secured port shown after a learning port", {f, s, 0x004F, s}, {kPort2},
            {f, s, 0x005F, s}, false, "locked off", "locked - -");
        row("secured port shown after a secured port", {0x004F, s, 0x004F, s}, {kPort2},
            {0x004F, s, 0x004F, s}, false, "locked off", "locked - -");
        row("storm control", {f, s, f, s}, {"stormControlBox"}, {0x008F, s, f, s}, false, "on",
            "locked - -");
        // Auto-negotiation locks rate and duplex; leaving it starts from 100 full.
        row("auto-negotiation off forces 100 full", {f, s, f, s}, {"autoNegotiationBox"},
            {f, kForced100Full, f, s}, true, "on", "100 full");
        row("rate and duplex are chosen apart", {f, s, f, s},
            {"autoNegotiationBox", "rate10Option"}, {f, 0x4CD3, f, s}, true, "on", "10 full");
        row("auto-negotiation on again clears the choice", {f, s, f, s},
            {"autoNegotiationBox", "rate10Option", "autoNegotiationBox"}, {f, s, f, s}, true, "on",
            "locked - -");
        row("rate buttons are locked under auto-negotiation", {f, s, f, s},
            {"rate10Option", "halfDuplexOption"}, {f, s, f, s}, false, "on", "locked - -");
        row("auto-negotiation on keeps flow control off", {f, 0x40DF, f, s}, {"autoNegotiationBox"},
            {f, 0x405F, f, s}, true, "on", "locked - -");
        row("auto-negotiation on keeps flow control on", {f, kForced10Half, f, s},
            {"autoNegotiationBox"}, {f, s, f, s}, true, "on", "locked - -");
        row("auto port with abilities 7 shown after a forced port", {f, kForced10Half, f, 0x4F57},
            {kPort2}, {f, kForced10Half, f, s}, true, "on", "locked - -");
        row("auto port with abilities 7 shown after an auto port", {f, s, f, 0x4C57}, {kPort2},
            {f, s, f, 0x4C57}, false, "on", "locked - -");
        // Link modes 00 and 10 select neither mode.
        row("mode 00 after an auto port is forced to 100 full", {f, s, f, 0x4C1F}, {kPort2},
            {f, s, f, kForced100Full}, true, "on", "100 full");
        row("mode 10 with bits 8 and 9 after an auto port is forced to 100 full", {f, s, f, 0x4F9F},
            {kPort2}, {f, s, f, kForced100Full}, true, "on", "100 full");
        row("mode 00 after a forced port is left alone", {f, kForced10Half, f, 0x4C1F}, {kPort2},
            {f, kForced10Half, f, 0x4C1F}, false, "on", "10 half");
        row("mode 10: a rate writes abilities only", {f, kForced10Half, f, 0x4C9F},
            {kPort2, "rate100Option"}, {f, kForced10Half, f, 0x4C97}, true, "on", "100 half");
        // Forced ports: the buttons follow the highest ability bit.
        row("same forced choice", {f, kForced100Full, f, kForced100Full}, {kPort2},
            {f, kForced100Full, f, kForced100Full}, false, "on", "100 full");
        row("other forced choice", {f, kForced100Full, f, 0x4CD3}, {kPort2},
            {f, kForced100Full, f, 0x4CD3}, true, "on", "10 full");
        row("abilities 5 show as 100 half and are rewritten to 7", {f, kForced100Full, f, 0x4CD5},
            {kPort2}, {f, kForced100Full, f, 0x4CD7}, true, "on", "100 half");
        // Rate and duplex patterns.
        row("100 half", {f, kForced100Full, f, s}, {"halfDuplexOption"}, {f, 0x4CD7, f, s}, true,
            "on", "100 half");
        row("10 half", {f, kForced100Full, f, s}, {"halfDuplexOption", "rate10Option"},
            {f, kForced10Half, f, s}, true, "on", "10 half");
        row("10 full", {f, kForced100Full, f, s},
            {"halfDuplexOption", "rate10Option", "fullDuplexOption"}, {f, 0x4CD3, f, s}, true, "on",
            "10 full");
        // Flow control: bit 11 decides, both bits are written.
        row("flow control off", {f, s, f, s}, {"flowControlBox"}, {f, 0x405F, f, s}, false, "on",
            "locked - -");
        row("bit 10 alone shown after flow control on", {f, s, f, 0x445F}, {kPort2},
            {f, s, f, 0x405F}, false, "on", "locked - -");
        row("bit 10 alone shown after flow control off", {f, 0x405F, f, 0x445F}, {kPort2},
            {f, 0x405F, f, 0x445F}, false, "on", "locked - -");
    }
    void clickRules()
    {
        QFETCH(QList<int>, before);
        QFETCH(QStringList, clicks);
        PropertiesFixture fx;
        fx.first(1) = quint16(before[0]);
        fx.second(1) = quint16(before[1]);
        fx.first(2) = quint16(before[2]);
        fx.second(2) = quint16(before[3]);
        fx.open();
        fx.state.phyUpdatePending = false;

        QVERIFY(fx.click(clicks));

        QTEST((QList<int>{fx.first(1), fx.second(1), fx.first(2), fx.second(2)}), "after");
        QTEST(fx.state.phyUpdatePending, "phy");
        QTEST(learningBox(fx.page()), "learning");
        QTEST(rateDuplex(fx.page()), "rateDuplex");
    }
};

SWCFG_TEST_CLASS(PortPageTest)
#include "port_page_test.moc"
