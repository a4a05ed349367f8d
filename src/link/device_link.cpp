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

constexpr qint64 kWriteAnswerTimeoutMs = 3000;
// A short quiet gap does not prove that an answer is over: a UART's receive FIFO may hold its last
// bytes for about four byte times (a byte takes 1.04 ms at 9600 baud), and USB adapters deliver
// in bursts up to 16 ms apart. A word write's answer length is learned once per series behind a
// quiet time longer than both; the line must be as quiet once a series is over (or three byte
// times, when the last answer came in step with the line), so that no late byte lands in the next
// read.
constexpr int kSeriesQuietMicros = 20000;
// A UART's receive FIFO holds the last bytes of an answer for about four byte times: answers of a
// fixed length (the probe, the bulk read) are checked for bytes past their end for that long,
// so that a longer answer is seen whole and refused.
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
    : state_(state), line_(line), progress_(std::move(progress)), wait_(line, clock)
{
}

bool DeviceLink::openPort()
{
    // Another port may lead to another switch.
    writeAnswerBytes_ = 0;
    return beginOperation();
}

void DeviceLink::closePort()
{
    endOperation();
}

void DeviceLink::holdPort()
{
    held_ = true;
}

void DeviceLink::releasePort()
{
    held_ = false;
    line_.close();
}

bool DeviceLink::beginOperation()
{
    if (held_) {
        // A line that went away since the last answer says so once it is looked at.
        if (answersClean_ && line_.isOpen())
            line_.waitForInput(0);
        if (answersClean_ && line_.isOpen())
            return true;
        // Closed first: a port that failed may still be open underneath.
        line_.close();
    }
    answersClean_ = true;
    return line_.open();
}

void DeviceLink::endOperation()
{
    // After a missing, short or odd answer the next operation opens the port afresh, as it
    // would if the port were not held.
    if (!held_ || !answersClean_)
        line_.close();
}

bool DeviceLink::sendCommand(const QByteArray &command)
{
    wait_.commandSent(static_cast<int>(command.size()));
    if (line_.send(command))
        return true;
    answersClean_ = false;
    return false;
}

// Stale input is dropped before each command is sent, never after: a fast peer may have answered
// already by the time the send returns.

bool DeviceLink::writeWord(int device, int space, int address, quint16 value)
{
    state_.writeTimedOut = false;
    // The last answer is still in the buffer; more bytes than learned mean it was longer.
    if (line_.bytesAvailable() > writeAnswerBytes_)
        writeAnswerBytes_ = 0;
    line_.discardInput();
    if (!sendCommand(writeWordCommand(device, space, address, value))) {
        state_.writeTimedOut = true;
        return false;
    }
    const qint64 awaited = writeAnswerBytes_ > 0 ? writeAnswerBytes_ : kWriteAnswerMinBytes;
    // Once the length is learned, how the last bytes come matters only at the end of the series.
    wait_.forBytes(awaited, kWriteAnswerTimeoutMs, writeAnswerBytes_ == 0);
    const qint64 received = line_.bytesAvailable();
    if (received < kWriteAnswerMinBytes) {
        state_.writeTimedOut = true;
        writeAnswerBytes_ = 0;
        answersClean_ = false;
        return true;
    }
    if (received != awaited && writeAnswerBytes_ > 0) {
        // Not the length learned: the switch answers differently now; learn it again.
        writeAnswerBytes_ = 0;
        answersClean_ = false;
        return true;
    }
    // The answer may run past the 11 bytes awaited (an echo of the whole command, say). Were its
    // rest counted towards the next answer, the link would run ahead of the switch. The first
    // answer is waited out and its length taken for the rest of the series; later ones are over
    // when that many bytes are in. The answer is left unread; the next command drops it. A length
    // learned short would send every later command into the end of an answer, so the first one
    // is always waited out in full, however in step its bytes came.
    if (writeAnswerBytes_ == 0) {
        wait_.quietLine(kSeriesQuietMicros);
        writeAnswerBytes_ = line_.bytesAvailable();
    }
    return true;
}

LinkResult<quint8> DeviceLink::readRegisterByte(int device, int space, int address)
{
    if (!beginOperation())
        return {LinkStatus::PortNotOpened};
    line_.discardInput();
    QByteArray answer;
    if (sendCommand(readCommand(device, space, address, 1))) {
        wait_.countedPasses(kRegisterAnswerBytes);
        if (line_.bytesAvailable() > 0)
            answer = line_.readAll();
    }
    const std::optional<quint8> value = registerAnswerValue(answer);
    answersClean_ = answersClean_ && value && answer.size() == kRegisterAnswerBytes;
    endOperation();
    if (!value)
        return {LinkStatus::NoAnswer};
    return {LinkStatus::Done, *value};
}

LinkResult<QByteArray> DeviceLink::probeDevices()
{
    if (!beginOperation())
        return {LinkStatus::PortNotOpened};
    line_.discardInput();
    QByteArray answer;
    if (sendCommand(probeCommand())) {
        wait_.countedPasses(kProbeAnswerBytes);
        if (line_.bytesAvailable() >= kProbeAnswerBytes)
            wait_.answerTail(kAnswerTailQuietMicros);
        if (line_.bytesAvailable() > 0)
            answer = line_.readAll();
    }
    answersClean_ = answersClean_ && answer.size() == kProbeAnswerBytes;
    endOperation();
    if (answer.isEmpty())
        return {LinkStatus::NoAnswer};
    return {LinkStatus::Done, answer};
}

LinkStatus DeviceLink::resetSwitch()
{
    if (!beginOperation())
        return LinkStatus::PortNotOpened;
    const bool sent = sendCommand(resetCommand());
    endOperation();
    return sent ? LinkStatus::Done : LinkStatus::NoAnswer;
}

LinkStatus DeviceLink::readEeprom(int device)
{
    showProgress(0);
    if (!beginOperation()) {
        hideProgress();
        return LinkStatus::PortNotOpened;
    }
    line_.discardInput();
    const bool sent = sendCommand(readCommand(device, kEepromSpace, 0, kBulkReadBytes));
    setProgress(5);
    if (sent) {
        wait_.forBytes(kBulkAnswerBytes, kBulkAnswerTimeoutMs, true,
                       [this] { setProgress(static_cast<int>(line_.bytesAvailable() / 10) + 5); });
        // One stray byte among the digits would shift every later word: a longer answer is
        // refused, not cut at 516 bytes.
        if (line_.bytesAvailable() >= kBulkAnswerBytes)
            wait_.answerTail(kAnswerTailQuietMicros);
    }
    const QByteArray answer = sent ? line_.readAll() : QByteArray();
    setProgress(80);
    const std::optional<DeviceWords> words = bulkAnswerWords(answer);
    if (!words) {
        setProgress(0);
        hideProgress();
        answersClean_ = false;
        endOperation();
        return LinkStatus::NoAnswer;
    }
    setProgress(95);
    state_.readBuffer = *words;
    setProgress(100);
    hideProgress();
    endOperation();
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
            // A word the line could not take did not reach the switch.
            wordsSent_ += writeWord(d, kEepromSpace, 2 * w, state_.eepromImage[d][w]) ? 1 : 0;
            setProgress(w * 100 / kWordsPerDevice);
            if (state_.writeTimedOut)
                break;
        }
        setProgress(100);
        if (d != kModuleDevice)
            setProgress(0);
    }
    wait_.answerTail(kSeriesQuietMicros);
    setProgress(100);
    hideProgress();
    endOperation();
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
            wordsSent_ += writeWord(at.device, kEepromSpace, 2 * at.word,
                                    state_.eepromImage[at.device][at.word])
                              ? 1
                              : 0;
            if (state_.writeTimedOut)
                silentDevice = at.device;
        }
        setProgress(static_cast<int>((i + 1) * 100 / changed.size()));
    }
    wait_.answerTail(kSeriesQuietMicros);
    hideProgress();
    endOperation();
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
    wait_.answerTail(kSeriesQuietMicros);
    setProgress(50);
    setProgress(100);
    hideProgress();
    endOperation();
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
    wait_.answerTail(kSeriesQuietMicros);
    state_.phyUpdatePending = false;
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
