#include "sim_options.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

ParsedOptions parse(const QString &line)
{
    QStringList arguments{QStringLiteral("swcfg-sim")};
    if (!line.isEmpty())
        arguments += line.split(QLatin1Char(' '));
    return parseSimOptions(arguments);
}

} // namespace

class SimOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryFault()
    {
        const ParsedOptions parsed =
            parse("--model 2 --pace --missing 1,3 --module-codes 1,1,6 --probe-fault short:2 "
                  "--read-fault 2:nonhex --read-fault 0:short:3 --drop-after-writes 10 "
                  "--drop-commands 4 --corrupt-word 1:20 --corrupt-word 3:127:65535");
        QVERIFY2(parsed.options, qPrintable(parsed.error));
        const SimOptions &o = *parsed.options;
        QCOMPARE(o.model, 2);
        QVERIFY(o.paced);
        const Faults::FaultPlan &f = o.faults;
        QCOMPARE(f.missing, (std::array<bool, 4>{false, true, false, true}));
        QCOMPARE(f.moduleCodes, (std::vector<int>{1, 1, 6}));
        QCOMPARE(f.probeFault, Faults::ProbeFault::Short);
        QCOMPARE(f.probeFaultTimes, std::optional<int>(2));
        QCOMPARE(f.readFaults[2].kind, Faults::ReadFault::NonHex);
        QVERIFY(!f.readFaults[2].times);
        QCOMPARE(f.readFaults[0].kind, Faults::ReadFault::Short);
        QCOMPARE(f.readFaults[0].times, std::optional<int>(3));
        QCOMPARE(f.readFaults[1].kind, Faults::ReadFault::None);
        QCOMPARE(f.dropAfterWrites, std::optional<int>(10));
        QCOMPARE(f.dropCommands, std::optional<int>(4));
        QCOMPARE(f.corruptWords.size(), std::size_t(2));
        QCOMPARE(f.corruptWords[0].word, 20);
        QVERIFY(!f.corruptWords[0].value);
        QCOMPARE(f.corruptWords[1].value, std::optional<quint16>(65535));
    }

    void refusesBadArguments_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("error");
        QTest::newRow("model 3") << "--model 3"
                                 << "--model";
        QTest::newRow("model word") << "--model two"
                                    << "--model";
        QTest::newRow("device 4 missing") << "--missing 0,4"
                                          << "--missing";
        QTest::newRow("module code 256") << "--module-codes 3,256"
                                         << "--module-codes";
        QTest::newRow("probe fault kind") << "--probe-fault quiet"
                                          << "quiet";
        QTest::newRow("probe fault count 0") << "--probe-fault silent:0"
                                             << "count";
        QTest::newRow("read fault without kind") << "--read-fault 2"
                                                 << "DEV:KIND";
        QTest::newRow("read fault kind") << "--read-fault 2:long"
                                         << "long";
        QTest::newRow("drop commands alone") << "--drop-commands 3"
                                             << "--drop-after-writes";
        QTest::newRow("word 128") << "--corrupt-word 0:128"
                                  << "word";
        QTest::newRow("value 65536") << "--corrupt-word 0:1:65536"
                                     << "value";
        QTest::newRow("unknown option") << "--frobnicate"
                                        << "frobnicate";
        QTest::newRow("stray argument") << "extra"
                                        << "extra";
    }
    void refusesBadArguments()
    {
        QFETCH(QString, line);
        QFETCH(QString, error);
        const ParsedOptions parsed = parse(line);
        QVERIFY(!parsed.options);
        QVERIFY2(parsed.error.contains(error), qPrintable(parsed.error));
    }
};

SWCFG_TEST_CLASS(SimOptionsTest)
#include "sim_options_test.moc"
