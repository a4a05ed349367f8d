#include "link/device_link.h"

#include "image/device_models.h"
#include "image/image_state.h"
#include "link/link_clock.h"
#include "link/serial_line.h"
#include "link/wire_protocol.h"

#include <algorithm>
#include <vector>

using namespace WireProtocol;

namespace
{

// Reads and probes wait at most this many passes of 0.1 ms and more: one to two seconds, far
// longer than a 6-byte answer takes at 9600 baud.
constexpr int kCountedPassLimit = 10001;
constexpr int kCountedPassMicros = 100;
// Waits bounded by time sleep up to a millisecond per pass.
constexpr int kTimedPassMicros = 1000;
// A byte takes 1.04 ms at 9600 baud (10 bits), so bytes awaited cannot all be in sooner than
// that many byte times after the first arrived. A wait rests that long, up to 10 ms at a time so
// that the window keeps repainting, instead of waking at every byte.
constexpr qint64 kByteMicros = 1041;
constexpr qint64 kLongestRestMicros = 10000;
constexpr qint64 kWriteAnswerTimeoutMs = 3000;
// A short quiet gap does not prove that an answer is over: a UART's receive FIFO may hold its last
// bytes for about four byte times (a byte takes 1.04 ms at 9600 baud), and USB adapters deliver
// in bursts up to 16 ms apart. A word write's answer length is learned once per series behind a
// quiet time longer than both; the line must be as quiet before the port is closed after a
// series, so that no late byte lands in the next read.
constexpr int kSeriesQuietMicros = 20000;
// Answers of a fixed length (the probe, the bulk read) are checked for bytes past their end for
// a few byte times, so that a longer answer is seen whole and refused.
constexpr int kAnswerTailQuietMicros = 5000;
constexpr qint64 kBulkAnswerTimeoutMs = 5000;

// PHY access through the switch registers: data to 134, then the command to 132.
constexpr int kPhyDataRegister = 134;
constexpr int kPhyCommandRegister = 132;
constexpr int kPhyWriteCommand = 0x4000;
constexpr int kPhyControl = 0;
constexpr int kPhyAdvertisement = 4;
constexpr int kAdvertisementBase = 0x0401; // selector field and pause
constexpr int kRestartAutoNegotiation = 0x3300;

// Byte address of port word i of a device.
constexpr int portWordAddress(int i)
{
    return 2 * (kFirstPortWord + i);
}

} // namespace

DeviceLink::DeviceLink(ImageState &state, SerialLine &line, LinkClock &clock,
                       ProgressCallback progress)
    : state_(state), line_(line), clock_(clock), progress_(std::move(progress))
{
}

bool DeviceLink::openPort()
{
    // Another port may lead to another switch.
    writeAnswerBytes_ = 0;
    return line_.open();
}

void DeviceLink::closePort()
{
    line_.close();
}

// Stale input is dropped before each command is sent, never after: a fast peer may have answered
// already by the time the send returns.

void DeviceLink::writeWord(int device, int space, int address, quint16 value)
{
    state_.writeTimedOut = false;
    state_.commandDevice = device;
    state_.commandAddress = address;
    state_.commandSpace = space;
    // The last answer is still in the buffer; more bytes than learned mean it was longer.
    if (line_.bytesAvailable() > writeAnswerBytes_)
        writeAnswerBytes_ = 0;
    line_.discardInput();
    if (!line_.send(writeWordCommand(device, space, address, value))) {
        state_.writeTimedOut = true;
        return;
    }
    const qint64 awaited = writeAnswerBytes_ > 0 ? writeAnswerBytes_ : kWriteAnswerMinBytes;
    const qint64 start = clock_.elapsedMs();
    while (line_.bytesAvailable() < awaited && clock_.elapsedMs() - start <= kWriteAnswerTimeoutMs)
        passAwaiting(awaited);
    const qint64 received = line_.bytesAvailable();
    if (received < kWriteAnswerMinBytes) {
        state_.writeTimedOut = true;
        writeAnswerBytes_ = 0;
        return;
    }
    if (received != awaited && writeAnswerBytes_ > 0) {
        // Not the length learned: the switch answers differently now; learn it again.
        writeAnswerBytes_ = 0;
        return;
    }
    // The answer may run past the 11 bytes awaited (an echo of the whole command, say). Were its
    // rest counted towards the next answer, the link would run ahead of the switch. The first
    // answer is waited out and its length taken for the rest of the series; later ones are over
    // when that many bytes are in. The answer is left unread; the next command drops it.
    if (writeAnswerBytes_ == 0) {
        waitForQuietLine(kSeriesQuietMicros);
        writeAnswerBytes_ = line_.bytesAvailable();
    }
}

LinkResult<quint8> DeviceLink::readRegisterByte(int device, int space, int address)
{
    if (!line_.open())
        return {LinkStatus::PortNotOpened};
    state_.commandDevice = device;
    state_.commandSpace = space;
    state_.commandAddress = address;
    state_.commandByteCount = 1;
    line_.discardInput();
    QByteArray answer;
    if (line_.send(readCommand(device, space, address, 1))) {
        waitCountedPasses(kRegisterAnswerBytes);
        if (line_.bytesAvailable() > 0)
            answer = line_.readAll();
    }
    line_.close();
    const std::optional<quint8> value = registerAnswerValue(answer);
    if (!value)
        return {LinkStatus::NoAnswer};
    return {LinkStatus::Done, *value};
}

LinkResult<QByteArray> DeviceLink::probeDevices()
{
    if (!line_.open())
        return {LinkStatus::PortNotOpened};
    line_.discardInput();
    QByteArray answer;
    if (line_.send(probeCommand())) {
        waitCountedPasses(kProbeAnswerBytes);
        if (line_.bytesAvailable() >= kProbeAnswerBytes)
            waitForQuietLine(kAnswerTailQuietMicros);
        if (line_.bytesAvailable() > 0)
            answer = line_.readAll();
    }
    line_.close();
    if (answer.isEmpty())
        return {LinkStatus::NoAnswer};
    return {LinkStatus::Done, answer};
}

LinkStatus DeviceLink::resetSwitch()
{
    if (!line_.open())
        return LinkStatus::PortNotOpened;
    const bool sent = line_.send(resetCommand());
    line_.close();
    return sent ? LinkStatus::Done : LinkStatus::NoAnswer;
}

LinkStatus DeviceLink::readEeprom()
{
    showProgress(0);
    if (!line_.open()) {
        hideProgress();
        return LinkStatus::PortNotOpened;
    }
    state_.commandByteCount = kBulkReadBytes;
    state_.commandSpace = kEepromSpace;
    state_.commandAddress = 0;
    line_.discardInput();
    const bool sent =
        line_.send(readCommand(state_.commandDevice, kEepromSpace, 0, kBulkReadBytes));
    setProgress(5);
    if (sent) {
        const qint64 start = clock_.elapsedMs();
        while (line_.bytesAvailable() < kBulkAnswerBytes &&
               clock_.elapsedMs() - start <= kBulkAnswerTimeoutMs) {
            setProgress(static_cast<int>(line_.bytesAvailable() / 10) + 5);
            passAwaiting(kBulkAnswerBytes);
        }
        // One stray byte among the digits would shift every later word: a longer answer is
        // refused, not cut at 516 bytes.
        if (line_.bytesAvailable() >= kBulkAnswerBytes)
            waitForQuietLine(kAnswerTailQuietMicros);
    }
    const QByteArray answer = sent ? line_.readAll() : QByteArray();
    setProgress(80);
    const std::optional<DeviceWords> words = bulkAnswerWords(answer);
    if (!words) {
        setProgress(0);
        hideProgress();
        line_.close();
        return LinkStatus::NoAnswer;
    }
    setProgress(95);
    state_.readBuffer = *words;
    setProgress(100);
    hideProgress();
    line_.close();
    return LinkStatus::Done;
}

LinkStatus DeviceLink::writeEepromAll(int model)
{
    const int devices = deviceCountOf(model);
    wordsSent_ = 0;
    wordsToSend_ = devices * kWordsPerDevice;
    if (!openPort())
        return LinkStatus::PortNotOpened;
    showProgress(0);
    bool stopped = false;
    for (int d = 0; d < devices && !stopped; ++d) {
        setPhase(writingPhase(d + 1, devices));
        for (int w = 0; w < kWordsPerDevice; ++w) {
            if ((stopped = stopRequested()))
                break;
            writeWord(d, kEepromSpace, 2 * w, state_.eepromImage[d][w]);
            ++wordsSent_;
            setProgress(w * 100 / kWordsPerDevice);
            if (state_.writeTimedOut)
                break;
        }
        setProgress(100);
        if (d != kModuleDevice)
            setProgress(0);
    }
    waitForQuietLine(kSeriesQuietMicros);
    setProgress(100);
    hideProgress();
    line_.close();
    return stopped ? LinkStatus::Stopped : LinkStatus::Done;
}

LinkStatus DeviceLink::writeEepromChanged(int model, const ImageWords &onSwitch)
{
    struct Word {
        int device;
        int word;
    };
    std::vector<Word> changed;
    for (int d = 0; d < deviceCountOf(model); ++d) {
        for (int w = 0; w < kWordsPerDevice; ++w) {
            if (state_.eepromImage[d][w] != onSwitch[d][w])
                changed.push_back({d, w});
        }
    }
    wordsSent_ = 0;
    wordsToSend_ = static_cast<int>(changed.size());
    if (changed.empty())
        return LinkStatus::Done;
    if (!openPort())
        return LinkStatus::PortNotOpened;
    setPhase(writingChangesPhase(wordsToSend_));
    showProgress(0);
    int silentDevice = -1;
    bool stopped = false;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        if ((stopped = stopRequested()))
            break;
        const Word &at = changed[i];
        // As in a whole write, a word without answer ends its device's pass.
        if (at.device != silentDevice) {
            writeWord(at.device, kEepromSpace, 2 * at.word, state_.eepromImage[at.device][at.word]);
            ++wordsSent_;
            if (state_.writeTimedOut)
                silentDevice = at.device;
        }
        setProgress(static_cast<int>((i + 1) * 100 / changed.size()));
    }
    waitForQuietLine(kSeriesQuietMicros);
    hideProgress();
    line_.close();
    return stopped ? LinkStatus::Stopped : LinkStatus::Done;
}

LinkStatus DeviceLink::writeEepromPortWords()
{
    if (!openPort())
        return LinkStatus::PortNotOpened;
    showProgress(1);
    setProgress(5);
    int progress = 5;
    for (int d = 0; d < 3; ++d) {
        for (int i = 0; i < kPortWordsPerDevice; ++i)
            writeWord(d, kEepromSpace, portWordAddress(i), state_.portWords[d][i]);
        progress += 16;
        setProgress(progress);
    }
    waitForQuietLine(kSeriesQuietMicros);
    setProgress(50);
    setProgress(100);
    hideProgress();
    line_.close();
    return LinkStatus::Done;
}

void DeviceLink::writePhyRegisters()
{
    if (!state_.phyUpdatePending)
        return;
    writeAnswerBytes_ = 0;
    for (int d = 0; d < 3; ++d) {
        for (int k = 0; k < 8; ++k) {
            // 10 half, 10 full, 100 half, 100 full duplex: bits 0..3 of the port's second word.
            const int abilities = state_.portWords[d][2 * k + 1] & 0xF;
            const int phy = 32 * k;
            writeWord(d, kRegisterSpace, kPhyDataRegister,
                      static_cast<quint16>(kAdvertisementBase + 32 * abilities));
            writeWord(d, kRegisterSpace, kPhyCommandRegister,
                      static_cast<quint16>(kPhyWriteCommand + phy + kPhyAdvertisement));
            writeWord(d, kRegisterSpace, kPhyDataRegister, kRestartAutoNegotiation);
            writeWord(d, kRegisterSpace, kPhyCommandRegister,
                      static_cast<quint16>(kPhyWriteCommand + phy + kPhyControl));
        }
    }
    waitForQuietLine(kSeriesQuietMicros);
    state_.phyUpdatePending = false;
}

void DeviceLink::waitCountedPasses(int minBytes)
{
    for (int pass = 0; pass < kCountedPassLimit && line_.bytesAvailable() < minBytes; ++pass)
        clock_.pass(line_, kCountedPassMicros);
}

void DeviceLink::passAwaiting(qint64 awaited)
{
    const qint64 received = line_.bytesAvailable();
    const qint64 stillToCross = awaited - received - 1; // the last one is waited for as usual
    if (received > 0 && stillToCross > 0)
        clock_.rest(line_,
                    static_cast<int>(std::min(stillToCross * kByteMicros, kLongestRestMicros)));
    else
        clock_.pass(line_, kTimedPassMicros);
}

void DeviceLink::waitForQuietLine(int quietMicros)
{
    // Bounded like a word write's wait, should the line never fall quiet.
    const qint64 start = clock_.elapsedMs();
    qint64 received = -1;
    while (line_.bytesAvailable() > received &&
           clock_.elapsedMs() - start <= kWriteAnswerTimeoutMs) {
        received = line_.bytesAvailable();
        clock_.pass(line_, quietMicros);
    }
}

void DeviceLink::setPhase(const QString &phase)
{
    updateProgress({progressState_.value, progressState_.visible, phase});
}

void DeviceLink::showProgress(int value)
{
    updateProgress({value, true, progressState_.phase});
}

void DeviceLink::setProgress(int value)
{
    updateProgress({value, progressState_.visible, progressState_.phase});
}

void DeviceLink::hideProgress()
{
    updateProgress({progressState_.value, false, progressState_.phase});
}

void DeviceLink::updateProgress(const ProgressState &state)
{
    if (state == progressState_)
        return;
    progressState_ = state;
    if (progress_)
        progress_(state);
}
