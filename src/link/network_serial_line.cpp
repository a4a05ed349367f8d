#include "link/network_serial_line.h"

#include "link/link_clock.h"
#include "link/queued_write.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#endif

namespace
{

constexpr int kConnectTimeoutMs = 5000;
// A wait on the socket that returned later than this blocked: the data came at its end.
constexpr qint64 kBlockedMicros = 300;
// A 9600-baud line carries fewer than 8,000 bytes in the longest wait for an answer (5 s, then
// 3 s of quiet); a server that sends twice that after one command is not passing on a switch's
// line. Also the most the socket may hold unread.
constexpr qint64 kMostBytesPerCommand = 16384;
// A console server may drop what it has not yet put on its serial line when the connection closes
// (ser2net does). A command that no answer followed, the switch's reset, counts as sent only once
// the server acknowledged it and this long has passed since it was sent.
constexpr qint64 kUnansweredLingerMicros = 250000;

// A Telnet server opens with its negotiation: IAC and WILL, WONT, DO, DONT or SB. A switch never
// speaks first, and none of its answers starts so.
bool opensWithTelnet(const QByteArray &bytes)
{
    return bytes.size() >= 2 && static_cast<quint8>(bytes[0]) == Telnet::kIac &&
           static_cast<quint8>(bytes[1]) >= Telnet::kSb && static_cast<quint8>(bytes[1]) < 255;
}

} // namespace

QString NetworkLineTexts::flooded()
{
    return QStringLiteral("the server sent more than %1 bytes for one command")
        .arg(kMostBytesPerCommand);
}

NetworkSerialLine::NetworkSerialLine(const QString &name, NetworkProtocol protocol,
                                     LinkClock &clock)
    : name_(displayedPortName(name)), parsed_(parseNetworkPort(name)), protocol_(protocol),
      clock_(clock), bursts_(clock)
{
}

NetworkSerialLine::~NetworkSerialLine()
{
    if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState)
        return;
    // Input left unread would make the system reset the connection instead of closing it, and a
    // reset may drop the last command (the switch's reset) before the server passed it on.
    look(0);
    socket_->disconnectFromHost();
    if (socket_->state() != QAbstractSocket::UnconnectedState)
        socket_->waitForDisconnected(kSendTimeoutMs);
}

bool NetworkSerialLine::open()
{
    error_.clear();
    if (!parsed_.address) {
        error_ = reasonText(parsed_.problem);
        return false;
    }
    if (lost()) {
        error_ = reasonText(lostReason_);
        return false;
    }
    if (open_) {
        error_ = reasonText(QStringLiteral("already open"));
        return false;
    }
    if (!socket_ && !connectToServer())
        return false;
    // Nobody listened while the line was closed.
    discardInput();
    if (lost()) {
        error_ = reasonText(lostReason_);
        return false;
    }
    open_ = true;
    return true;
}

void NetworkSerialLine::close()
{
    open_ = false;
}

bool NetworkSerialLine::isOpen() const
{
    return open_ && !lost();
}

QString NetworkSerialLine::errorText() const
{
    return error_;
}

bool NetworkSerialLine::connectToServer()
{
    const qint64 startMs = clock_.elapsedMs();
    socket_ = std::make_unique<QTcpSocket>();
    socket_->setReadBufferSize(kMostBytesPerCommand);
    socket_->connectToHost(parsed_.address->host, parsed_.address->port);
    // The name lookup and the connection finish in the event loop; yield to it and sleep
    // briefly, as every wait on the line does.
    while (socket_->state() != QAbstractSocket::ConnectedState) {
        QString failure;
        if (socket_->state() == QAbstractSocket::UnconnectedState)
            failure = socket_->errorString();
        else if (clock_.elapsedMs() - startMs >= kConnectTimeoutMs)
            failure = QString::fromLatin1(NetworkLineTexts::kNoConnection);
        if (!failure.isEmpty()) {
            error_ = reasonText(failure);
            socket_.reset(); // a later open tries again, as a serial port that did not open
            return false;
        }
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    // Commands are short and each waits for its answer: send them at once.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    firstBytesSeen_ = false;
    if (protocol_ == NetworkProtocol::ComPortControl && !setUpComPort(startMs)) {
        socket_->abort();
        socket_.reset();
        return false;
    }
    return true;
}

bool NetworkSerialLine::setUpComPort(qint64 startMs)
{
    comPort_.emplace();
    socket_->write(comPort_->start());
    socket_->flush();
    while (comPort_->state() != ComPortControl::State::Ready) {
        const qint64 left = kConnectTimeoutMs - (clock_.elapsedMs() - startMs);
        QString failure;
        if (comPort_->state() == ComPortControl::State::Failed)
            failure = comPort_->failure();
        else if (lost())
            failure = lostReason_;
        else if (left <= 0)
            failure = QString::fromLatin1(comPort_->state() == ComPortControl::State::Negotiating
                                              ? ComPortTexts::kNoComPortOption
                                              : NetworkLineTexts::kSettingsUnconfirmed);
        if (!failure.isEmpty()) {
            // The server may be fine and the next try meant for another one: nothing is final.
            lostReason_.clear();
            comPort_.reset();
            error_ = reasonText(failure);
            return false;
        }
        look(static_cast<int>(std::min<qint64>(left, 100)));
    }
    return true;
}

bool NetworkSerialLine::send(const QByteArray &bytes)
{
    if (!open_ || lost()) {
        error_ = reasonText(lost() ? lostReason_ : QStringLiteral("not open"));
        return false;
    }
    bursts_.commandSent();
    const QByteArray wire = comPort_ ? ComPortControl::encode(bytes) : bytes;
    if (!writeAndDrain(*socket_, wire)) {
        lose(socket_->errorString());
        return false;
    }
    lastSendMicros_ = nowMicros();
    return true;
}

bool NetworkSerialLine::waitUntilSent()
{
    const qint64 startMs = clock_.elapsedMs();
    while (socket_ && !lost() && unacknowledgedBytes() > 0) {
        if (clock_.elapsedMs() - startMs >= kSendTimeoutMs) {
            error_ = reasonText(QString::fromLatin1(NetworkLineTexts::kNotTaken));
            return false;
        }
        look(1); // notices a connection that ended meanwhile
    }
    while (socket_ && !lost() && nowMicros() < lastSendMicros_ + kUnansweredLingerMicros)
        look(1);
    return socket_ && !lost();
}

qint64 NetworkSerialLine::bytesAvailable()
{
    takeIn(false, false);
    return input_.size();
}

QByteArray NetworkSerialLine::readAll()
{
    takeIn(false, false);
    return std::exchange(input_, {});
}

void NetworkSerialLine::discardInput()
{
    // As a serial port's flush drops what its driver holds, this drops what the system holds.
    look(0);
    input_.clear();
}

void NetworkSerialLine::waitForInput(int maxMicros)
{
    const qint64 before = input_.size();
    takeIn(false, false);
    if (input_.size() > before) {
        // The socket read some while the program handled its events; the system may hold more.
        look(0);
        return;
    }
    const qint64 deadline = bursts_.waitEnd(maxMicros);
    for (;;) {
        const qint64 left = deadline - nowMicros();
        const bool usable = socket_ && !lost();
        if (!usable || left < 1000) {
            // Nothing to wait on, or less than the socket's millisecond: sleep, never spin.
            sleepMicros(left);
            if (usable)
                look(0);
            return;
        }
        if (look(static_cast<int>(left / 1000)))
            return;
    }
}

bool NetworkSerialLine::look(int maxMs)
{
    if (!socket_ || lost())
        return false;
    const qint64 before = input_.size();
    const qint64 start = nowMicros();
    const bool ready = socket_->waitForReadyRead(maxMs);
    takeIn(true, ready && nowMicros() - start > kBlockedMicros);
    if (!ready && socket_ && socket_->state() != QAbstractSocket::ConnectedState)
        lose(socket_->errorString());
    return input_.size() > before;
}

void NetworkSerialLine::takeIn(bool lookedNow, bool waited)
{
    if (!socket_)
        return;
    const qint64 before = input_.size();
    if (socket_->bytesAvailable() > 0) {
        const QByteArray bytes = socket_->readAll();
        acknowledgeAtOnce();
        if (!std::exchange(firstBytesSeen_, true) && !comPort_ && opensWithTelnet(bytes)) {
            lose(QString::fromLatin1(NetworkLineTexts::kSpeaksTelnet));
            return;
        }
        input_ += comPort_ ? comPort_->receive(bytes) : bytes;
        mostHeld_ = std::max(mostHeld_, bytes.size() + input_.size());
        if (comPort_ && comPort_->state() == ComPortControl::State::Failed) {
            lose(comPort_->failure());
            return;
        }
        // The link drops what it did not read before every command.
        if (input_.size() > kMostBytesPerCommand) {
            input_.clear();
            lose(NetworkLineTexts::flooded());
            return;
        }
        const QByteArray replies = comPort_ ? comPort_->takeReplies() : QByteArray();
        if (!replies.isEmpty()) {
            socket_->write(replies);
            socket_->flush(); // the socket buffers what it is given until asked to send
            if (socket_->bytesToWrite() > kMostBytesPerCommand) {
                lose(QString::fromLatin1(NetworkLineTexts::kRepliesNotTaken));
                return;
            }
        }
    }
    bursts_.looked(input_.size() > before, lookedNow, waited);
}

void NetworkSerialLine::lose(const QString &reason)
{
    if (lost())
        return;
    lostReason_ = reason;
    error_ = reasonText(reason);
    if (socket_)
        socket_->abort();
}

void NetworkSerialLine::acknowledgeAtOnce()
{
#ifdef Q_OS_LINUX
    const int on = 1;
    setsockopt(static_cast<int>(socket_->socketDescriptor()), IPPROTO_TCP, TCP_QUICKACK, &on,
               sizeof on);
#endif
}

qint64 NetworkSerialLine::unacknowledgedBytes() const
{
    qint64 unacknowledged = socket_->bytesToWrite();
#ifdef Q_OS_LINUX
    int queued = 0;
    if (::ioctl(static_cast<int>(socket_->socketDescriptor()), SIOCOUTQ, &queued) == 0)
        unacknowledged += queued;
#endif
    return unacknowledged;
}

QString NetworkSerialLine::reasonText(const QString &reason) const
{
    return name_ + QStringLiteral(": ") + reason;
}

qint64 NetworkSerialLine::nowMicros() const
{
    return clock_.elapsedMicros();
}

void NetworkSerialLine::sleepMicros(qint64 micros) const
{
    if (micros > 0)
        QThread::usleep(static_cast<unsigned long>(micros));
}
