#include "line_timeline.h"

#include "transfer_figures.h"

#include <map>

namespace
{

constexpr double kByteMicros = kLineBitsPerByte * 1e6 / kLineBaud;

QString kindOf(const QByteArray &command)
{
    if (command.startsWith("ns"))
        return QStringLiteral("probe");
    if (command.startsWith("no"))
        return QStringLiteral("word write");
    if (command.startsWith("nr"))
        return command.endsWith("256\r") ? QStringLiteral("bulk read")
                                         : QStringLiteral("register read");
    return command == "j" ? QStringLiteral("reset") : QStringLiteral("other");
}

struct Phase {
    int count = 0;
    double wire = 0;  // the bytes both ways
    double wall = 0;  // from the command to the next one (or the end of the run)
    double late = 0;  // the last byte of the answer counted after the wire time had passed
    double after = 0; // after the answer (or the command, when none came), port work aside
    double port = 0;  // opening and closing the port after the answer
    int together = 0; // answers whose last byte was counted together with the one before
};

} // namespace

bool TimelineSerialLine::open()
{
    const qint64 start = now();
    const bool opened = inner_.open();
    open_ = opened;
    (exchanges_.empty() ? firstPortMicros_ : exchanges_.back().portMicros) += now() - start;
    return opened;
}

void TimelineSerialLine::close()
{
    noteArrivals();
    const qint64 start = now();
    inner_.close();
    open_ = false;
    (exchanges_.empty() ? firstPortMicros_ : exchanges_.back().portMicros) += now() - start;
}

bool TimelineSerialLine::send(const QByteArray &bytes)
{
    noteArrivals();
    Exchange exchange;
    exchange.command = bytes;
    exchange.sentAt = now();
    exchanges_.push_back(exchange);
    consumed_ = 0;
    seen_ = open_ ? inner_.bytesAvailable() : 0;
    return inner_.send(bytes);
}

qint64 TimelineSerialLine::bytesAvailable()
{
    noteArrivals();
    return inner_.bytesAvailable();
}

QByteArray TimelineSerialLine::readAll()
{
    noteArrivals();
    QByteArray bytes = inner_.readAll();
    consumed_ += bytes.size();
    return bytes;
}

void TimelineSerialLine::discardInput()
{
    noteArrivals();
    consumed_ += inner_.bytesAvailable();
    inner_.discardInput();
}

void TimelineSerialLine::waitForInput(int maxMicros)
{
    inner_.waitForInput(maxMicros);
    noteArrivals();
}

void TimelineSerialLine::noteArrivals()
{
    if (exchanges_.empty() || !open_)
        return;
    const qint64 total = consumed_ + inner_.bytesAvailable() - seen_;
    Exchange &exchange = exchanges_.back();
    if (total > exchange.received) {
        exchange.lastChunk = total - exchange.received;
        exchange.received = total;
        exchange.lastSeenAt = now();
    }
}

void TimelineSerialLine::restart()
{
    exchanges_.clear();
    firstPortMicros_ = 0;
    startedAt_ = now();
}

QString TimelineSerialLine::phaseTable() const
{
    const qint64 end = now();
    std::map<QString, Phase> phases;
    Phase total;
    for (std::size_t i = 0; i < exchanges_.size(); ++i) {
        const Exchange &e = exchanges_[i];
        const qint64 next = i + 1 < exchanges_.size() ? exchanges_[i + 1].sentAt : end;
        const double commandWire = e.command.size() * kByteMicros;
        const double wire = commandWire + e.received * kByteMicros;
        const double answered = e.received > 0 ? e.lastSeenAt : e.sentAt + commandWire;
        Phase &p = phases[kindOf(e.command)];
        for (Phase *into : {&p, &total}) {
            ++into->count;
            into->wire += wire;
            into->wall += next - e.sentAt;
            into->late += e.received > 0 ? answered - (e.sentAt + wire) : 0;
            into->port += e.portMicros;
            into->together += e.lastChunk > 1 ? 1 : 0;
            into->after += next - answered - e.portMicros;
        }
    }
    const qint64 before = exchanges_.empty() ? end - startedAt_ : exchanges_[0].sentAt - startedAt_;
    QString table = QStringLiteral("  %1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                        .arg(QStringLiteral("phase"), -14)
                        .arg(QStringLiteral("count"), 5)
                        .arg(QStringLiteral("wire ms"), 9)
                        .arg(QStringLiteral("wall ms"), 9)
                        .arg(QStringLiteral("over ms"), 9)
                        .arg(QStringLiteral("late ms"), 9)
                        .arg(QStringLiteral("after ms"), 9)
                        .arg(QStringLiteral("port ms"), 9)
                        .arg(QStringLiteral("late tails"), 10);
    const auto row = [&table](const QString &name, const Phase &p) {
        // Per command, in milliseconds.
        const double n = p.count > 0 ? p.count : 1;
        table += QStringLiteral("  %1 %2 %3 %4 %5 %6 %7 %8 %9\n")
                     .arg(name, -14)
                     .arg(p.count, 5)
                     .arg(p.wire / n / 1000, 9, 'f', 3)
                     .arg(p.wall / n / 1000, 9, 'f', 3)
                     .arg((p.wall - p.wire) / n / 1000, 9, 'f', 3)
                     .arg(p.late / n / 1000, 9, 'f', 3)
                     .arg(p.after / n / 1000, 9, 'f', 3)
                     .arg(p.port / n / 1000, 9, 'f', 3)
                     .arg(p.together, 10);
    };
    for (const auto &[name, phase] : phases)
        row(name, phase);
    Phase all = total;
    all.count = 1;
    row(QStringLiteral("whole run"), all);
    table += QStringLiteral("  before the first command: %1 ms, of which port %2 ms\n")
                 .arg(static_cast<double>(before) / 1000, 0, 'f', 3)
                 .arg(static_cast<double>(firstPortMicros_) / 1000, 0, 'f', 3);
    return table;
}
