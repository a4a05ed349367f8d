#include "line_pacer.h"

LinePacer::LinePacer(int baud, int bitsPerByte) : bitsPerByte_(bitsPerByte), baud_(baud) {}

LinePacer::Clock::duration LinePacer::offset(std::int64_t bytes) const
{
    if (baud_ <= 0)
        return Clock::duration::zero();
    const std::chrono::nanoseconds exact(bytes * bitsPerByte_ * 1'000'000'000 / baud_);
    return std::chrono::duration_cast<Clock::duration>(exact);
}

LinePacer::Clock::time_point LinePacer::crossed(Clock::time_point ready)
{
    if (baud_ <= 0)
        return ready;
    // The line falls idle once the last byte is through; a new burst starts when the byte is ready.
    if (!started_ || ready > burstStart_ + offset(bytesInBurst_)) {
        started_ = true;
        burstStart_ = ready;
        bytesInBurst_ = 0;
    }
    ++bytesInBurst_;
    return burstStart_ + offset(bytesInBurst_);
}
