#include "command_parser.h"
#include "emulated_switch.h"
#include "image/factory_image.h"
#include "sim_options.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

// One line per command found in `stream`: its fields, then "+" the bytes skipped before it.
QStringList parseAll(const QByteArray &stream)
{
    static const char *const kinds[] = {"write", "read", "probe", "reset"};
    CommandParser parser;
    QStringList found;
    for (char byte : stream) {
        if (const std::optional<Command> c = parser.feed(byte)) {
            QString line = QLatin1String(kinds[int(c->kind)]);
            if (c->kind == Command::Kind::WriteWord || c->kind == Command::Kind::Read) {
                const int last = c->kind == Command::Kind::Read ? c->count : c->value();
                line += QString::asprintf(" %d %d %d %d", c->device, c->space, c->address, last);
            }
            found << line + QStringLiteral(" +%1").arg(c->skippedBefore);
        }
    }
    return found;
}

} // namespace

class CommandParserTest : public QObject
{
    Q_OBJECT

private slots:
    void splitsTheStream_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("every kind, back to back, no CR after probe and reset")
            << QByteArray("no20028076095\rnr31115256\rnsj")
            << QStringList{"write 2 0 28 19551 +0", "read 3 1 115 256 +0", "probe +0", "reset +0"};
        QTest::newRow("fields beyond the values used are passed on")
            << QByteArray("no97999999999\r") << QStringList{"write 9 7 999 256743 +0"};
        QTest::newRow("noise before a command")
            << QByteArray("\r\n\377abcns") << QStringList{"probe +6"};
        QTest::newRow("unknown letter after n") << QByteArray("nxns") << QStringList{"probe +2"};
        QTest::newRow("n restarts a command")
            << QByteArray("nnnr00000001\r") << QStringList{"read 0 0 0 1 +2"};
        // A command cut short is dropped whole; the byte that cut it starts afresh.
        QTest::newRow("n cuts digits short") << QByteArray("no200ns") << QStringList{"probe +5"};
        QTest::newRow("j cuts digits short") << QByteArray("nr3j") << QStringList{"reset +3"};
        QTest::newRow("letter inside digits")
            << QByteArray("no2002807a095\rns") << QStringList{"probe +14"};
        QTest::newRow("twelfth digit instead of CR")
            << QByteArray("no200280760951\rns") << QStringList{"probe +15"};
        QTest::newRow("read with write length")
            << QByteArray("nr00000000000\rns") << QStringList{"probe +14"};
    }
    void splitsTheStream()
    {
        QFETCH(QByteArray, stream);
        QTEST(parseAll(stream), "commands");
    }

    // The answers the options ask for: the lengths of three word writes' answers, then of a bulk
    // read's. Refused options: no answers.
    void answerOptions_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QList<int>>("lengths");
        QTest::newRow("the echo") << "" << QList<int>{14, 14, 14, 516};
        QTest::newRow("in turn") << "--write-answers 11,12" << QList<int>{11, 12, 11, 516};
        QTest::newRow("the last repeats")
            << "--write-answers 30,11+" << QList<int>{30, 11, 11, 516};
        QTest::newRow("CR LF after reads") << "--read-trailer 0d0a" << QList<int>{14, 14, 14, 518};
        QTest::newRow("10 bytes") << "--write-answers 10" << QList<int>{};
        QTest::newRow("half a byte") << "--read-trailer 0d0" << QList<int>{};
    }
    void answerOptions()
    {
        QFETCH(QString, options);
        QFETCH(QList<int>, lengths);
        const ParsedOptions parsed =
            parseSimOptions(QStringList{"swcfg-sim"} + options.split(' ', Qt::SkipEmptyParts));
        QCOMPARE(parsed.options.has_value(), !lengths.isEmpty());
        if (!parsed.options)
            return;
        EmulatedSwitch device(0, factoryImage(0), parsed.options->faults);
        CommandParser parser;
        QList<int> answered;
        for (char byte : QByteArray("no00000000000\rno00000000000\rno00000000000\rnr00000256\r")) {
            if (const std::optional<Command> command = parser.feed(byte))
                answered << int(device.execute(*command).answer.size());
        }
        QCOMPARE(answered, lengths);
    }
};

SWCFG_TEST_CLASS(CommandParserTest)
#include "command_parser_test.moc"
