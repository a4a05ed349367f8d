#include "command_parser.h"
#include "emulated_switch.h"
#include "image/bin_file.h"
#include "image/factory_image.h"
#include "sim_options.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

QByteArray hexOf(const DeviceWords &words)
{
    QByteArray bytes;
    for (quint16 word : words)
        bytes += QByteArray::number(word, 16).rightJustified(4, '0').toUpper();
    return bytes;
}

QByteArray probeAnswer(quint8 d0, quint8 d1, quint8 d2, quint8 d3)
{
    return QByteArray("ns") + char(d0) + char(d1) + char(d2) + char(d3);
}

} // namespace

class EmulatedSwitchTest : public QObject
{
    Q_OBJECT

private slots:
    void factoryImageIsAValidImageOfItsModel()
    {
        for (int model : {0, 1, 2})
            QCOMPARE(BinFile::check(factoryImage(model), model), BinFile::Verdict::Accepted);
    }

    // A switch set up by the command line, starting from TestImages::validImage: device 0 word 0
    // is 0x1815, word 1 0xA001, word 127 0xA07F. An empty answer is no answer.
    void answersInTurn_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QByteArrayList>("answers");
        const auto row = [](const char *name, const char *options, QByteArrayList commands,
                            QByteArrayList answers) {
            QTest::newRow(name) << QString(options) << commands << answers;
        };
        const QByteArray bulk1 = "nr10" + hexOf(TestImages::validImage(1)[1]);
        QByteArray nonHex = bulk1;
        nonHex[4 + 256] = 'G';

        row("24-port: module code answered though no module is fitted", "--model 0",
            {"ns", "nr31115001\r", "no30000000001\r", "nr30000001\r", "no50000000001\r"},
            {probeAnswer(0, 1, 2, 0xFF), "nr3100", "", "", ""});
        row("1000Base-SX: fiber module", "--model 1", {"ns", "nr31115001\r"},
            {probeAnswer(0, 1, 2, 3), "nr3106"});
        row("32-port: 8-port module", "--model 2", {"ns", "nr31115001\r"},
            {probeAnswer(0, 1, 2, 3), "nr3103"});
        row("bytes high first, rolling over at the end", "--model 2",
            {"nr20000256\r", "nr00001003\r", "nr00254004\r"},
            {"nr20" + hexOf(TestImages::validImage(2)[2]), "nr0015A001", "nr00A07F1815"});
        // A register reads as its low byte; the EEPROM byte of the same number is untouched.
        row("switch registers apart from the EEPROM", "--model 1",
            {"no11134005225\r", "nr11134001\r", "nr10134002\r"},
            {"no11134005225\r", "nr11E1", "nr10A143"});
        row("fields out of range", "--model 2",
            {"no00001000001\r", "no00256000001\r", "no00000256000\r", "nr00000000\r",
             "nr00000257\r", "nr00000002\r"},
            {"", "", "", "", "", "nr001815"});

        row("missing device", "--model 2 --missing 1",
            {"ns", "nr10000001\r", "no10000000001\r", "nr00000001\r"},
            {probeAnswer(0, 0xFF, 2, 3), "", "", "nr0018"});
        row("module codes, the last repeats", "--model 0 --module-codes 1,1,6",
            {"nr31115001\r", "nr31115001\r", "nr31115001\r", "nr31115001\r"},
            {"nr3101", "nr3101", "nr3106", "nr3106"});
        row("silent probe once", "--probe-fault silent:1", {"ns", "ns"},
            {"", probeAnswer(0, 1, 2, 3)});
        row("short probe", "--probe-fault short", {"ns", "ns"},
            {QByteArray("ns\0\1\2", 5), QByteArray("ns\0\1\2", 5)});
        row("long probe", "--probe-fault long:1", {"ns", "ns"},
            {probeAnswer(0, 1, 2, 3) + '\0', probeAnswer(0, 1, 2, 3)});
        row("garbled probe", "--probe-fault garbled:1", {"ns", "ns"},
            {QByteArray("sn\0\1\2\3", 6), probeAnswer(0, 1, 2, 3)});
        row("short EEPROM read", "--read-fault 1:short:1", {"nr10000256\r", "nr10000256\r"},
            {bulk1.left(515), bulk1});
        row("non-hex EEPROM read", "--read-fault 1:nonhex:1", {"nr10000256\r", "nr10000256\r"},
            {nonHex, bulk1});
        // What went unanswered was not carried out either.
        row("line drops after a write, comes back", "--drop-after-writes 1 --drop-commands 2",
            {"no00000000001\r", "no00002000002\r", "ns", "no00004000003\r", "nr00000006\r"},
            {"no00000000001\r", "", "", "no00004000003\r", "nr000001A0010003"});
        row("line drops for good", "--drop-after-writes 1",
            {"no00000000001\r", "ns", "nr00000002\r"}, {"no00000000001\r", "", ""});
        row("corrupt words", "--corrupt-word 0:20 --corrupt-word 2:5:48879",
            {"no00040076095\r", "nr00040002\r", "no20010000000\r", "nr20010002\r",
             "no10040076095\r", "nr10040002\r"},
            {"no00040076095\r", "nr004C5E", "no20010000000\r", "nr20BEEF", "no10040076095\r",
             "nr104C5F"});
    }
    void answersInTurn()
    {
        QFETCH(QString, options);
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArrayList, answers);
        const ParsedOptions parsed = parseSimOptions(QStringList{"swcfg-sim"} + options.split(' '));
        QVERIFY2(parsed.options, qPrintable(parsed.error));
        const SimOptions &o = *parsed.options;
        EmulatedSwitch device(o.model, TestImages::validImage(o.model), o.faults);
        CommandParser parser;
        QByteArrayList got;
        for (const QByteArray &command : commands) {
            for (char byte : command) {
                if (const std::optional<Command> parsedCommand = parser.feed(byte))
                    got << device.execute(*parsedCommand).answer;
            }
        }
        QCOMPARE(got, answers);
    }
};

SWCFG_TEST_CLASS(EmulatedSwitchTest)
#include "emulated_switch_test.moc"
