#include "link/com_port_control.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

// Bytes written as hexadecimal pairs, blanks between them for reading.
QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// What the client asks once the server agreed: 9600 baud, 8 data bits, no parity, 1 stop bit, no
// flow control.
const QByteArray kLineSettings = bytes("fffa2c01 00002580 fff0 fffa2c0208fff0 fffa2c0301fff0 "
                                       "fffa2c0401fff0 fffa2c0501fff0");
// ser2net's confirmations of them, one by one.
const QByteArrayList kConfirmationList{bytes("fffa2c65 00002580 fff0"), bytes("fffa2c6608fff0"),
                                       bytes("fffa2c6701fff0"), bytes("fffa2c6801fff0"),
                                       bytes("fffa2c6901fff0")};
const QByteArray kConfirmations = kConfirmationList.join();

} // namespace

class ComPortControlTest : public QObject
{
    Q_OBJECT

private slots:
    // The server's bytes, given at once and a byte at a time: the data among them, the replies
    // owed (once), and where the setup stands.
    void serverBytes_data()
    {
        QTest::addColumn<QByteArray>("server");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("failure");
        using S = ComPortControl::State;
        // ser2net opens with WILL SGA, DO SGA, WILL ECHO, DONT ECHO, DO and WILL BINARY and DO
        // COM-PORT-OPTION; echo and go-ahead suppression are refused, the rest was asked for.
        const QByteArray greeting = bytes("fffb03 fffd03 fffb01 fffe01 fffd00 fffb00 fffd2c");
        QTest::newRow("ser2net: setup, then a probe answer with a device's 0xFF")
            << greeting + bytes("fffa2c6b00fff0") + kConfirmations + "ns" + bytes("000102ffff")
            << "ns" + bytes("000102ff") << bytes("fffe03 fffc03 fffe01") + kLineSettings
            << int(S::Ready) << QString();
        QTest::newRow("a notification amid data; an option asked again gets no reply")
            << bytes("fffd2c") + "n" + bytes("fffa2c6b00fff0") + "s" + bytes("fffd2c fffb00")
            << QByteArray("ns") << kLineSettings << int(S::SettingLine) << QString();
        QTest::newRow("unknown options are refused, commands without data dropped")
            << bytes("fffd18 fffb05 fff1 fff9 fffc18") << QByteArray() << bytes("fffc18 fffe05")
            << int(S::Negotiating) << QString();
        QTest::newRow("the server will not do COM-PORT-OPTION")
            << bytes("fffe2c") << QByteArray() << QByteArray() << int(S::Failed)
            << "no COM-PORT-OPTION";
        // Ready only once every setting was confirmed as asked: each one missing, or confirmed
        // with another value (amid the others' confirmations).
        const QStringList names{"baud rate", "data bits", "parity", "stop bits", "flow control"};
        const QByteArrayList others{bytes("fffa2c65 00004b00 fff0"), bytes("fffa2c6607fff0"),
                                    bytes("fffa2c6703fff0"), bytes("fffa2c6802fff0"),
                                    bytes("fffa2c6903fff0")};
        const QStringList refusals{"baud rate refused: the server set 19200, not 9600",
                                   "data bits refused: the server set 7, not 8",
                                   "parity refused: the server set even, not none",
                                   "stop bits refused: the server set 2, not 1",
                                   "flow control refused: the server set hardware, not none"};
        for (int i = 0; i < 5; ++i) {
            QByteArrayList missing = kConfirmationList;
            missing.removeAt(i);
            QByteArrayList wrong = kConfirmationList;
            wrong[i] = others[i];
            QTest::addRow("%s not confirmed", qPrintable(names[i]))
                << bytes("fffd2c") + missing.join() << QByteArray() << kLineSettings
                << int(S::SettingLine) << QString();
            QTest::addRow("%s set otherwise", qPrintable(names[i]))
                << bytes("fffd2c") + wrong.join() << QByteArray() << kLineSettings << int(S::Failed)
                << refusals[i];
        }
        QTest::newRow("the requests echoed, not confirmed")
            << bytes("fffd2c") + kLineSettings << QByteArray() << kLineSettings
            << int(S::SettingLine) << QString();
        // A sub-negotiation of 256 bytes (option byte included) is one; a longer one ends
        // everything, whatever follows it.
        QTest::newRow("a sub-negotiation of 256 bytes")
            << bytes("fffa2c") + QByteArray(255, 'a') + bytes("fff0") + "ns" << QByteArray("ns")
            << QByteArray() << int(S::Negotiating) << QString();
        QTest::newRow("a sub-negotiation of 257 bytes after the setup")
            << bytes("fffd2c") + kConfirmations + "n" + bytes("fffa2c") + QByteArray(256, 'a') +
                   bytes("fff0") + "s"
            << QByteArray("n") << kLineSettings << int(S::Failed)
            << "a Telnet sub-negotiation ran past 256 bytes";
        QTest::newRow("a sub-negotiation of 257 bytes")
            << bytes("fffa2c") + QByteArray(256, 'a') + bytes("fff0") + "ns" << QByteArray()
            << QByteArray() << int(S::Failed) << "a Telnet sub-negotiation ran past 256 bytes";
    }
    void serverBytes()
    {
        QFETCH(QByteArray, server);
        for (const bool byteByByte : {false, true}) {
            ComPortControl control;
            QCOMPARE(control.start(), bytes("fffb2c fffb00 fffd00"));
            QByteArray data;
            QByteArray replies;
            for (qsizetype at = 0; at < server.size(); at += byteByByte ? 1 : server.size()) {
                data += control.receive(server.mid(at, byteByByte ? 1 : -1));
                replies += control.takeReplies();
            }
            QTEST(data, "data");
            QTEST(replies, "replies");
            QTEST(int(control.state()), "state");
            QTEST(control.failure(), "failure");
        }
        // What goes to the server: every 0xFF doubled.
        QCOMPARE(ComPortControl::encode("n" + bytes("ff") + "o"), "n" + bytes("ffff") + "o");
    }
};

SWCFG_TEST_CLASS(ComPortControlTest)
#include "com_port_control_test.moc"
