#include "link/com_port_control.h"
#include "link/link_clock.h"
#include "link/link_messages.h"
#include "link/network_serial_line.h"
#include "link/switch_session.h"
#include "support/fakes.h"
#include "support/test_main.h"

#include <QElapsedTimer>
#include <QTest>

#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

// A server socket on 127.0.0.1 that takes in as little as the system allows; `port` set.
int listening(quint16 &port)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int least = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &least, sizeof least);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr *>(&address), length);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    port = ntohs(address.sin_port);
    return listener;
}

} // namespace

class NetworkLineTest : public QObject
{
    Q_OBJECT

private slots:
    // A console server that sends without end (64 MiB here) loses the line as a vanished one
    // does, at once, and the line never holds more than a few of its answers' worth. (Once words
    // were written, the Write fails: a row of the console-server tests.) One that agrees to set
    // the line and never confirms a setting is not a line either.
    void serverFloods_data()
    {
        QTest::addColumn<QString>("scheme");
        QTest::addColumn<QByteArray>("opening");
        QTest::addColumn<bool>("flood");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("mostMs");
        QTest::newRow("a sub-negotiation that never ends")
            << "rfc2217" << QByteArray::fromHex("fffa2c") << true
            << ComPortTexts::subnegotiationTooLong() << 1500;
        QTest::newRow("the probe answered without end")
            << "tcp" << QByteArray() << true << NetworkLineTexts::flooded() << 1500;
        QTest::newRow("the settings never confirmed")
            << "rfc2217" << QByteArray::fromHex("fffd2c") << false
            << QString(NetworkLineTexts::kSettingsUnconfirmed) << 6000;
    }
    void serverFloods()
    {
        QFETCH(QString, scheme);
        QFETCH(QByteArray, opening);
        QFETCH(bool, flood);
        QFETCH(QString, reason);
        quint16 port = 0;
        const int listener = listening(port);
        std::thread server([listener, opening, flood] {
            const int client = ::accept(listener, nullptr, nullptr);
            const QByteArray bytes = opening + QByteArray(flood ? 65536 : 0, 'x');
            for (int i = 0; i < (flood ? 1024 : 1) &&
                            ::send(client, bytes.constData(), bytes.size(), MSG_NOSIGNAL) > 0;)
                ++i;
            for (char byte = 0; ::recv(client, &byte, 1, 0) > 0;) // until the client goes
                ;
            ::close(client);
        });
        const QString name = QStringLiteral("%1://127.0.0.1:%2").arg(scheme).arg(port);
        EventLoopClock clock;
        NetworkSerialLine line(
            name, scheme == "tcp" ? NetworkProtocol::RawTcp : NetworkProtocol::ComPortControl,
            clock);
        ImageState state;
        RecordingSink sink;
        if (scheme == "tcp") { // closed and opened again, as a held port is after a bad answer
            QVERIFY(line.open());
            line.close();
            QVERIFY(!line.isOpen());
        }
        QElapsedTimer timer;
        timer.start();

        QCOMPARE(SwitchSession(state, line, clock, sink).write(0), SessionOutcome::PortNotOpened);
        server.join();
        ::close(listener);
        QFETCH(int, mostMs);
        QVERIFY2(timer.elapsed() < mostMs, "a wait outlasted the connection");
        QCOMPARE(sink.texts, QStringList{LinkMessages::kPortOpenError});
        QCOMPARE(sink.reasons, QStringList{name + ": " + reason});
        QVERIFY2(line.mostHeldBytes() <= 65536, qPrintable(QString::number(line.mostHeldBytes())));
    }

    // The switch's reset is answered by nothing: it went out only once the server took it, and
    // the connection stays a moment longer for the server to pass it on. A server that takes
    // nothing more is given what the line can hold, not the reset.
    void lastCommandTaken_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("taken");
        QTest::newRow("taken") << QByteArray("j") << true;
        QTest::newRow("not taken") << QByteArray(8192, 'n') << false;
    }
    void lastCommandTaken()
    {
        QFETCH(QByteArray, sent);
        QFETCH(bool, taken);
        quint16 port = 0;
        const int listener = listening(port); // its system takes what fits, nobody reads it
        const QString name = QStringLiteral("tcp://127.0.0.1:%1").arg(port);
        EventLoopClock clock;
        NetworkSerialLine line(name, NetworkProtocol::RawTcp, clock);
        QVERIFY(line.open());
        QElapsedTimer timer;
        timer.start();

        QVERIFY(line.send(sent));
        QCOMPARE(line.waitUntilSent(), taken);
        QCOMPARE(line.errorText(),
                 taken ? QString() : name + ": " + QString(NetworkLineTexts::kNotTaken));
        QVERIFY(timer.elapsed() >= 250);
        ::close(listener);
    }
};

SWCFG_TEST_CLASS(NetworkLineTest)
#include "network_line_test.moc"
