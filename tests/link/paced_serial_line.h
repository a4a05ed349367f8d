#pragma once

#include "link/serial_line.h"

#include <QByteArrayList>

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>

// A serial line at 9600 baud on the virtual time the link's waits pass (VirtualLinkClock): each
// command crosses the line before the peer answers it, the answer follows one byte time per byte,
// and an adapter may hand the bytes over in bursts.
class PacedSerialLine : public SerialLine
{
public:
    static constexpr qint64 kByteMicros = 1042; // 10 bits at 9600 baud

    std::function<QByteArray(const QByteArray &command)> answer; // empty: silence
    qint64 burstMicros = 0; // bytes are handed over every burstMicros only; 0: each as it arrives

    QByteArrayList commands;
    int sendsWhileAnswering = 0; // commands sent before the peer's last answer was all in
    qint64 bytesOnTheWire = 0;   // both ways

    bool open() override { return !std::exchange(open_, true); }
    void close() override
    {
        open_ = false;
        received_.clear();
    }
    bool isOpen() const override { return open_; }
    QString errorText() const override { return {}; }
    bool send(const QByteArray &bytes) override
    {
        if (!open_)
            return false;
        if (!coming_.empty())
            ++sendsWhileAnswering;
        commands << bytes;
        const QByteArray reply = answer ? answer(bytes) : QByteArray();
        bytesOnTheWire += bytes.size() + reply.size();
        qint64 crossed = std::max(now_ + bytes.size() * kByteMicros, answerEnd_);
        for (const char byte : reply) {
            crossed += kByteMicros;
            const qint64 handed =
                burstMicros > 0 ? (crossed + burstMicros - 1) / burstMicros * burstMicros : crossed;
            coming_.push_back({byte, handed});
        }
        answerEnd_ = crossed;
        return true;
    }
    qint64 bytesAvailable() override { return received_.size(); }
    QByteArray readAll() override { return std::exchange(received_, {}); }
    void discardInput() override { received_.clear(); }
    void waitForInput(int maxMicros) override
    {
        now_ += maxMicros;
        while (!coming_.empty() && coming_.front().second <= now_) {
            if (open_)
                received_ += coming_.front().first;
            coming_.pop_front();
        }
    }

private:
    bool open_ = false;
    qint64 now_ = 0;
    qint64 answerEnd_ = 0;
    std::deque<std::pair<char, qint64>> coming_; // byte, when it is handed over
    QByteArray received_;
};
