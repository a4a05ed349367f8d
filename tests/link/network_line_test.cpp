#include "command_parser.h"
#include "emulated_switch.h"
#include "link/com_port_control.h"
#include "link/link_clock.h"
#include "link/link_messages.h"
#include "link/network_serial_line.h"
#include "link/switch_session.h"
#include "support/fakes.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QTest>

#include <atomic>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

// A console server on 127.0.0.1 serving one connection from a thread of its own. It plays a
// 24-port switch until the answer it floods: the `floodAt`-th word write's (0: the first
// command's); or, as a Telnet server, it floods a sub-negotiation it opens with; or it takes
// nothing at all. It floods until the client goes, 64 MiB at most.
class FloodingServer
{
public:
    enum Mode { Switch, Telnet, TakesNothing };
    FloodingServer(Mode mode, int floodAt) : mode_(mode), floodAt_(floodAt)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int smallest = 1; // the system makes it its least
        ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &smallest, sizeof smallest);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr *>(&address), length) == 0 &&
            ::listen(listener_, 1) == 0 &&
            ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length) == 0)
            port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FloodingServer()
    {
        finish();
        ::close(listener_);
    }
    void finish()
    {
        done_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    QString portName() const
    {
        return QStringLiteral("%1://127.0.0.1:%2")
            .arg(mode_ == Telnet ? "rfc2217" : "tcp")
            .arg(port_);
    }
    // Once finished.
    EmulatedSwitch device{0, TestImages::validImage(0)};

private:
    void serve()
    {
        pollfd listening{listener_, POLLIN, 0};
        while (!done_ && ::poll(&listening, 1, 50) == 0) {
        }
        const int connection = done_ ? -1 : ::accept(listener_, nullptr, nullptr);
        if (connection < 0)
            return;
        const timeval pause{0, 50000}; // so that the thread notices the end of the test
        ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &pause, sizeof pause);
        ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &pause, sizeof pause);
        if (mode_ == Telnet)
            flood(connection, QByteArray::fromHex("fffa2c"));
        else if (mode_ == Switch)
            playSwitch(connection);
        while (mode_ == TakesNothing && !done_)
            ::usleep(10000);
        ::close(connection);
    }
    void playSwitch(int connection)
    {
        CommandParser parser;
        int writes = 0;
        char byte = 0;
        while (!done_) {
            const ssize_t got = ::recv(connection, &byte, 1, 0);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                return;
            const std::optional<Command> command = got == 1 ? parser.feed(byte) : std::nullopt;
            if (!command)
                continue;
            writes += command->kind == Command::Kind::WriteWord ? 1 : 0;
            if (writes == floodAt_)
                return flood(connection, {});
            if (!send(connection, device.execute(*command).answer))
                return;
        }
    }
    void flood(int connection, const QByteArray &opening)
    {
        const QByteArray chunk = opening + QByteArray(65536, 'x');
        for (qint64 sent = 0; sent < (qint64(64) << 20) && send(connection, chunk);)
            sent += chunk.size();
    }
    bool send(int connection, const QByteArray &bytes)
    {
        for (qsizetype at = 0; at < bytes.size() && !done_;) {
            const ssize_t sent = ::send(connection, bytes.constData() + at,
                                        static_cast<size_t>(bytes.size() - at), MSG_NOSIGNAL);
            if (sent < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            at += std::max<ssize_t>(sent, 0);
        }
        return !done_;
    }

    Mode mode_;
    int floodAt_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> done_{false};
    std::thread thread_;
};

} // namespace

class NetworkLineTest : public QObject
{
    Q_OBJECT

private slots:
    // A console server that sends without end loses the line as a vanished one does, and the
    // line never holds more than a few of its answers' worth: the port message with the reason
    // before the first word, and a failed write after (the switch holds the words answered).
    void serverFloods_data()
    {
        QTest::addColumn<bool>("telnet");
        QTest::addColumn<int>("floodAt");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("wordsWritten");
        const QString flooded = NetworkLineTexts::flooded();
        QTest::newRow("a sub-negotiation that never ends")
            << true << 0 << int(SessionOutcome::PortNotOpened)
            << ComPortTexts::subnegotiationTooLong() << 0;
        QTest::newRow("the probe answered without end")
            << false << 0 << int(SessionOutcome::PortNotOpened) << flooded << 0;
        QTest::newRow("the third word answered without end")
            << false << 3 << int(SessionOutcome::VerifyFailed) << flooded << 2;
    }
    void serverFloods()
    {
        QFETCH(bool, telnet);
        QFETCH(int, floodAt);
        using Mode = FloodingServer::Mode;
        QFETCH(int, outcome);
        QFETCH(QString, reason);
        QFETCH(int, wordsWritten);
        ImageState state;
        ImageWords image = TestImages::validImage(0);
        for (int w = 0; w < kWordsPerDevice; ++w)
            image[0][w] ^= 0x0100;
        state.takeLoadedImage(image);
        FloodingServer server(telnet ? Mode::Telnet : Mode::Switch, floodAt);
        NetworkSerialLine line(server.portName());
        EventLoopClock clock;
        RecordingSink sink;

        QCOMPARE(int(SwitchSession(state, line, clock, sink).write(0)), outcome);
        QStringList messages{LinkMessages::kPortOpenError};
        if (floodAt > 0)
            messages << LinkMessages::kWriteOnceAgain;
        QCOMPARE(sink.texts, messages);
        QCOMPARE(sink.reasons, QStringList{server.portName() + ": " + reason});
        QVERIFY2(line.mostHeldBytes() <= 65536, qPrintable(QString::number(line.mostHeldBytes())));
        server.finish();
        for (int w = 0; w < 4; ++w)
            QCOMPARE(server.device.eeprom()[0][w],
                     quint16(w < wordsWritten ? image[0][w] : image[0][w] ^ 0x0100));
    }

    // The switch's reset is answered by nothing: it went out only once the server took it. A
    // server that takes nothing more gets the line's whole send buffer, not the reset.
    void lastCommandTaken()
    {
        FloodingServer server(FloodingServer::TakesNothing, 0);
        NetworkSerialLine line(server.portName());
        QVERIFY(line.open());
        QVERIFY(line.send(QByteArray(8192, 'n')));
        QVERIFY(!line.waitUntilSent());
        QCOMPARE(line.errorText(),
                 server.portName() + ": " + QString::fromLatin1(NetworkLineTexts::kNotTaken));
    }
};

SWCFG_TEST_CLASS(NetworkLineTest)
#include "network_line_test.moc"
