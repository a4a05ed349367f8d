#include "command_parser.h"
#include "emulated_switch.h"
#include "factory_image.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTest>

Q_DECLARE_METATYPE(Faults::FaultPlan)

using Faults::FaultPlan;
using TestImages::tagWord;
using TestImages::validImage;

namespace
{

Command parse(const QByteArray &text)
{
    CommandParser parser;
    std::optional<Command> command;
    for (char byte : text)
        command = parser.feed(byte);
    Q_ASSERT(command);
    return *command;
}

FaultPlan missing(std::initializer_list<int> devices)
{
    FaultPlan faults;
    for (int d : devices)
        faults.missing[static_cast<std::size_t>(d)] = true;
    return faults;
}

// Answers to `commands`, in turn, from one switch.
QList<QByteArray> answers(EmulatedSwitch &device, const QList<QByteArray> &commands)
{
    QList<QByteArray> result;
    for (const QByteArray &text : commands)
        result << device.execute(parse(text)).answer;
    return result;
}

} // namespace

class EmulatedSwitchTest : public QObject
{
    Q_OBJECT

private slots:
    void readsBytesHighFirstAndRollsOver_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("answer");
        // Word 0 is 0x12AB, word 1 0xCD0F, word 127 0xF00D.
        QTest::newRow("one byte") << QByteArray("nr00000001\r") << QByteArray("nr0012");
        QTest::newRow("odd start") << QByteArray("nr00001003\r") << QByteArray("nr00ABCD0F");
        QTest::newRow("past the end") << QByteArray("nr00254004\r") << QByteArray("nr00F00D12AB");
    }
    void readsBytesHighFirstAndRollsOver()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, answer);
        ImageWords image = validImage(0);
        image[0][0] = 0x12AB;
        image[0][1] = 0xCD0F;
        image[0][127] = 0xF00D;
        EmulatedSwitch device(0, image);
        QCOMPARE(device.execute(parse(command)).answer, answer);
    }

    void switchRegistersAreKeptApartFromTheEeprom()
    {
        EmulatedSwitch device(1, validImage(1));
        const Reply write = device.execute(parse("no11134005225\r"));
        QCOMPARE(write.logLine, QStringLiteral("write 1 1 134 1505"));
        QCOMPARE(write.answer.size(), 14);
        QVERIFY(!write.eepromChanged);
        QCOMPARE(device.switchRegister(1, 134), 1505);
        QCOMPARE(device.eeprom(), validImage(1));
        // A register reads as its low byte.
        QCOMPARE(device.execute(parse("nr11134001\r")).answer, QByteArray("nr11E1"));
    }

    void moduleRegisterAnswersTheModuleCode_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QByteArrayList>("answers");
        QTest::newRow("24-port: none fitted, yet answered")
            << 0 << QList<int>{} << QByteArrayList{"nr3100", "nr3100"};
        QTest::newRow("1000Base-SX: fiber module")
            << 1 << QList<int>{} << QByteArrayList{"nr3106", "nr3106"};
        QTest::newRow("32-port: 8-port module")
            << 2 << QList<int>{} << QByteArrayList{"nr3103", "nr3103"};
        QTest::newRow("fiber module on a 24-port switch")
            << 0 << QList<int>{6} << QByteArrayList{"nr3106", "nr3106"};
    }
    void moduleRegisterAnswersTheModuleCode()
    {
        QFETCH(int, model);
        QFETCH(QList<int>, codes);
        QFETCH(QByteArrayList, answers);
        FaultPlan faults;
        faults.moduleCodes.assign(codes.begin(), codes.end());
        EmulatedSwitch device(model, factoryImage(model), faults);
        for (const QByteArray &answer : answers)
            QCOMPARE(device.execute(parse("nr31115001\r")).answer, answer);
    }

    void commandsItCannotCarryOutGetNoAnswer_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<FaultPlan>("faults");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("log");
        QTest::newRow("write to the absent module")
            << 0 << FaultPlan{} << QByteArray("no30000000001\r") << "write 3 0 000 1 missing";
        QTest::newRow("read of a missing device")
            << 2 << missing({1}) << QByteArray("nr10000256\r") << "read 1 0 000 256 missing";
        QTest::newRow("no such device")
            << 2 << FaultPlan{} << QByteArray("no50000000001\r") << "write 5 0 000 1 missing";
        QTest::newRow("odd EEPROM address")
            << 2 << FaultPlan{} << QByteArray("no00001000001\r") << "write 0 0 001 1 invalid";
        QTest::newRow("EEPROM address past the end")
            << 2 << FaultPlan{} << QByteArray("no00256000001\r") << "write 0 0 256 1 invalid";
        QTest::newRow("value byte above 255")
            << 2 << FaultPlan{} << QByteArray("no00000256000\r") << "write 0 0 000 65536 invalid";
        QTest::newRow("read of nothing")
            << 2 << FaultPlan{} << QByteArray("nr00000000\r") << "read 0 0 000 0 invalid";
        QTest::newRow("read of more than a space")
            << 2 << FaultPlan{} << QByteArray("nr00000257\r") << "read 0 0 000 257 invalid";
    }
    void commandsItCannotCarryOutGetNoAnswer()
    {
        QFETCH(int, model);
        QFETCH(FaultPlan, faults);
        QFETCH(QByteArray, command);
        QFETCH(QString, log);
        EmulatedSwitch device(model, validImage(model), faults);
        const Reply reply = device.execute(parse(command));
        QCOMPARE(reply.answer, QByteArray());
        QCOMPARE(reply.logLine, log);
        QVERIFY(!reply.eepromChanged);
        QCOMPARE(device.eeprom(), validImage(model));
    }

    void lineDropsAfterTheGivenWrites_data()
    {
        QTest::addColumn<int>("dropFor");
        QTest::newRow("for good") << 0;
        QTest::newRow("for two commands") << 2;
    }
    void lineDropsAfterTheGivenWrites()
    {
        QFETCH(int, dropFor);
        FaultPlan faults;
        faults.dropAfterWrites = 2;
        if (dropFor > 0)
            faults.dropCommands = dropFor;
        EmulatedSwitch device(0, validImage(0), faults);

        const QList<QByteArray> sent{
            "no00000000001\r", "no00002000002\r", "no00004000003\r", "ns", "no00006000004\r", "ns"};
        const QList<QByteArray> got = answers(device, sent);
        QCOMPARE(got[0], sent[0]);
        QCOMPARE(got[1], sent[1]);
        QCOMPARE(got[2], QByteArray());
        QCOMPARE(got[3], QByteArray());
        // Commands that went unanswered were not carried out either.
        QCOMPARE(device.eeprom()[0][2], tagWord(0, 2));
        if (dropFor == 0) {
            QCOMPARE(got[4], QByteArray());
            QCOMPARE(got[5], QByteArray());
            QCOMPARE(device.eeprom()[0][3], tagWord(0, 3));
        } else {
            QCOMPARE(got[4], sent[4]);
            QCOMPARE(got[5], QByteArray("ns\0\1\2\xff", 6));
            QCOMPARE(device.eeprom()[0][3], 4);
        }
        QCOMPARE(device.execute(parse("j")).logLine,
                 dropFor == 0 ? QStringLiteral("reset dropped") : QStringLiteral("reset"));
    }

    void corruptWordKeepsAnotherValue()
    {
        FaultPlan faults;
        faults.corruptWords.push_back({1, 20, std::nullopt});
        faults.corruptWords.push_back({2, 5, quint16{0xBEEF}});
        EmulatedSwitch device(0, validImage(0), faults);

        const Reply flipped = device.execute(parse("no10040076095\r"));
        QCOMPARE(flipped.answer, QByteArray("no10040076095\r"));
        QCOMPARE(flipped.logLine, QStringLiteral("write 1 0 040 19551 stored 19550"));
        QCOMPARE(device.eeprom()[1][20], 19550);
        device.execute(parse("no20010000000\r"));
        QCOMPARE(device.eeprom()[2][5], 0xBEEF);
        // The same word of another device is written as sent.
        device.execute(parse("no00040076095\r"));
        QCOMPARE(device.eeprom()[0][20], 19551);
    }
};

SWCFG_TEST_CLASS(EmulatedSwitchTest)
#include "emulated_switch_test.moc"
