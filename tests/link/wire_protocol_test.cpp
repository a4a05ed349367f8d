#include "link/wire_protocol.h"
#include "support/test_main.h"

#include <QTest>

using namespace WireProtocol;

namespace
{

// Four leading bytes, the digits, "0" up to 512 digits; then cut or padded to size.
QByteArray bulkAnswerOf(const QByteArray &digits, int size = kBulkAnswerBytes)
{
    QByteArray answer = "nr00" + digits.leftJustified(512, '0');
    answer.resize(size, '0');
    return answer;
}

QByteArray probe(int b2, int b3, int b4, int b5)
{
    return QByteArray("ns") + char(b2) + char(b3) + char(b4) + char(b5);
}

} // namespace

class WireProtocolTest : public QObject
{
    Q_OBJECT

private slots:
    void commandBytes_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("19551 to byte 28 of device 2")
            << writeWordCommand(2, 0, 28, 19551) << QByteArray("no20028076095\r");
        QTest::newRow("all zero") << writeWordCommand(0, 0, 0, 0) << QByteArray("no00000000000\r");
        QTest::newRow("16388 to register 132 of device 1")
            << writeWordCommand(1, 1, 132, 16388) << QByteArray("no11132064004\r");
        QTest::newRow("65535 to byte 254")
            << writeWordCommand(3, 0, 254, 65535) << QByteArray("no30254255255\r");
        QTest::newRow("register 115 of device 3")
            << readCommand(3, 1, 115, 1) << QByteArray("nr31115001\r");
        QTest::newRow("EEPROM of device 2")
            << readCommand(2, 0, 0, 256) << QByteArray("nr20000256\r");
        QTest::newRow("probe") << probeCommand() << QByteArray("ns");
        QTest::newRow("reset") << resetCommand() << QByteArray("j");
    }
    void commandBytes()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, wire);
        QCOMPARE(command, wire);
    }

    // Register answers: the converted byte 5; bulk answers: 128 words of four hex digits.
    void answers_data()
    {
        QTest::addColumn<bool>("bulk");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("word");
        QTest::addColumn<int>("value"); // -1: no value
        QTest::newRow("register 0 6") << false << QByteArray("nr3106") << 0 << 6;
        QTest::newRow("register: low digit only") << false << QByteArray("nr319F") << 0 << 15;
        QTest::newRow("register: lower case raw") << false << QByteArray("nr310f") << 0 << int('f');
        QTest::newRow("register: 5 bytes") << false << QByteArray("nr310") << 0 << -1;
        QTest::newRow("bulk 4C5F") << true << bulkAnswerOf("4C5F") << 0 << 19551;
        QTest::newRow("bulk FFFF") << true << bulkAnswerOf("FFFF") << 0 << 65535;
        QTest::newRow("bulk last word")
            << true << bulkAnswerOf(QByteArray(508, '0') + "ABCD") << 127 << 0xABCD;
        QTest::newRow("bulk 515 bytes") << true << bulkAnswerOf("4C5F", 515) << 0 << -1;
        QTest::newRow("bulk lower case") << true << bulkAnswerOf("4c5F") << 0 << -1;
        QTest::newRow("bulk G at the end")
            << true << bulkAnswerOf(QByteArray(511, '0') + "G") << 0 << -1;
    }
    void answers()
    {
        QFETCH(bool, bulk);
        QFETCH(QByteArray, answer);
        QFETCH(int, word);
        QFETCH(int, value);
        std::optional<int> result;
        if (bulk) {
            if (const std::optional<DeviceWords> words = bulkAnswerWords(answer))
                result = words->at(word);
        } else if (const std::optional<quint8> byte = registerAnswerValue(answer)) {
            result = *byte;
        }
        QCOMPARE(result.value_or(-1), value);
    }

    void presence_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("module");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("missing");
        const int checked = PresenceStatus::Checked;
        QTest::newRow("all four") << probe(0, 1, 2, 3) << true << checked << 0;
        QTest::newRow("byte 5 ignored") << probe(5, 9, 2, 7) << false << checked << 3;
        QTest::newRow("byte 5 counted") << probe(5, 9, 2, 7) << true << checked << 11;
        QTest::newRow("5 bytes") << probe(0, 1, 2, 3).left(5) << true
                                 << int(PresenceStatus::NotReady) << 0;
        QTest::newRow("7 bytes") << probe(0, 1, 2, 3) + '\3' << false
                                 << int(PresenceStatus::NotReady) << 0;
        QTest::newRow("not ns") << "nr" + probe(0, 1, 2, 3).mid(2) << true
                                << int(PresenceStatus::NoAccess) << 0;
    }
    void presence()
    {
        QFETCH(QByteArray, answer);
        QFETCH(bool, module);
        QFETCH(int, kind);
        QFETCH(int, missing);
        const PresenceStatus status = presenceStatus(answer, module);
        QCOMPARE(int(status.kind), kind);
        QCOMPARE(status.missingDevices, missing);
    }
};

SWCFG_TEST_CLASS(WireProtocolTest)
#include "wire_protocol_test.moc"
