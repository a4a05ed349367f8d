#pragma once

#include <chrono>
#include <cstdint>

// Times the bytes of one direction of a serial line: a byte ready at time t finishes crossing
// the line one byte time after the line is free, and back-to-back bytes follow each other at
// exact multiples of the byte time from the start of the burst, so a long transfer does not drift
// however late the caller gets round to each byte.
class LinePacer
{
public:
    using Clock = std::chrono::steady_clock;

    // baud 0: no pacing, every byte is through the moment it is ready.
    explicit LinePacer(int baud = 0, int bitsPerByte = 10);

    // The time at which a byte that is ready at `ready` has crossed the line. Bytes are taken in
    // order; each call occupies the line for one byte time.
    Clock::time_point crossed(Clock::time_point ready);

    Clock::duration byteTime() const { return offset(1); }

private:
    Clock::duration offset(std::int64_t bytes) const;

    std::int64_t bitsPerByte_;
    std::int64_t baud_;
    bool started_ = false;
    Clock::time_point burstStart_{};
    std::int64_t bytesInBurst_ = 0;
};
