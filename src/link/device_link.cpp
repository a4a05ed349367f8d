#include "link/device_link.h"

#include "image/image_state.h"
#include "link/link_clock.h"
#include "link/link_messages.h"
#include "link/serial_line.h"
#include "link/wire_protocol.h"

using namespace WireProtocol;

namespace
{

constexpr qint64 kWriteAnswerTimeoutMs = 3000;
// A UART's receive FIFO holds the last bytes of an answer for about four byte times: answers of a
// fixed length (the probe, the bulk read) are checked for bytes past their end for that long,
// so that a longer answer is seen whole and refused.
constexpr int kAnswerTailQuietMicros = 5000;
constexpr qint64 kBulkAnswerTimeoutMs = 5000;

} // namespace

DeviceLink::DeviceLink(ImageState &state, SerialLine &line, LinkClock &clock,
                       ProgressCallback progress)
    : state_(state), line_(line), progress_(std::move(progress)), wait_(line, clock)
{
}

bool DeviceLink::openPort()
{
    // Another port may lead to another switch.
    forgetWriteAnswers();
    return beginOperation();
}

void DeviceLink::closePort()
{
    endOperation();
}

void DeviceLink::setStopRequest(StopRequest stop)
{
    stop_ = std::move(stop);
    wait_.setStopRequest(stop_);
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

bool DeviceLink::stoppedWaiting()
{
    if (!stopRequested())
        return false;
    // What came of the answer is not looked at; the next operation starts on a fresh port.
    answersClean_ = false;
    endOperation();
    return true;
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

void DeviceLink::forgetWriteAnswers()
{
    writeAnswerBytes_ = 0;
    earlierWriteAnswerBytes_ = 0;
    writeAnswerTaken_ = 0;
}

WordWrite DeviceLink::writeWord(int device, int space, int address, quint16 value)
{
    // The last answer is still in the buffer: bytes that came after it was taken as whole were
    // part of it.
    if (writeAnswerBytes_ > 0 && line_.bytesAvailable() > writeAnswerTaken_)
        writeAnswerBytes_ += line_.bytesAvailable() - writeAnswerTaken_;
    line_.discardInput();
    if (!sendCommand(writeWordCommand(device, space, address, value)))
        return WordWrite::NotSent;
    if (writeAnswerBytes_ == 0) {
        // A length learned short would send the next commands into the end of an answer, so the
        // first one is always waited out in full, however in step its bytes came.
        wait_.forBytes(kWriteAnswerMinBytes, kWriteAnswerTimeoutMs);
        if (line_.bytesAvailable() >= kWriteAnswerMinBytes)
            wait_.quietLine(kSeriesQuietMicros);
    } else {
        // The answer may run past the 11 bytes it has at least (an echo of the whole command,
        // say), and a switch may pad one answer differently from the next. Were the rest of an
        // answer counted towards the next one, the link would run ahead of the switch: the
        // longer of the last two lengths is awaited, and only trusted once two answers are known.
        wait_.forOpenLength(kWriteAnswerMinBytes, writeAnswerBytes_, earlierWriteAnswerBytes_,
                            kWriteAnswerTimeoutMs, kSeriesQuietMicros);
    }
    if (stopRequested()) {
        // The word is on the wire; its answer is not waited for, nor learned from.
        forgetWriteAnswers();
        answersClean_ = false;
        return WordWrite::Answered;
    }
    // The rest of the answer before, come after this command went out, was part of it.
    writeAnswerBytes_ += writeAnswerBytes_ > 0 ? wait_.staleBytes() : 0;
    const qint64 received = line_.bytesAvailable() - wait_.staleBytes();
    if (received < kWriteAnswerMinBytes) {
        forgetWriteAnswers();
        answersClean_ = false;
        return WordWrite::NoAnswer;
    }
    // The answer is left unread; the next command drops it.
    earlierWriteAnswerBytes_ = writeAnswerBytes_;
    writeAnswerBytes_ = received;
    writeAnswerTaken_ = line_.bytesAvailable();
    return WordWrite::Answered;
}

LinkResult<quint8> DeviceLink::readRegisterByte(int device, int space, int address)
{
    if (!beginOperation())
        return {LinkStatus::PortNotOpened};
    line_.discardInput();
    QByteArray answer;
    if (sendCommand(readCommand(device, space, address, 1))) {
        wait_.countedPasses(kRegisterAnswerBytes);
        if (stoppedWaiting())
            return {LinkStatus::Stopped};
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
        if (stoppedWaiting())
            return {LinkStatus::Stopped};
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
    // Nothing answers the reset: it went out only once it left the line for good.
    const bool sent = sendCommand(resetCommand()) && line_.waitUntilSent();
    answersClean_ = answersClean_ && sent;
    endOperation();
    return sent ? LinkStatus::Done : LinkStatus::NoAnswer;
}

LinkResult<DeviceWords> DeviceLink::readEeprom(int device)
{
    showProgress(0);
    if (!beginOperation()) {
        hideProgress();
        return {LinkStatus::PortNotOpened};
    }
    line_.discardInput();
    const bool sent = sendCommand(readCommand(device, kEepromSpace, 0, kBulkReadBytes));
    setProgress(5);
    if (sent) {
        wait_.forBytes(kBulkAnswerBytes, kBulkAnswerTimeoutMs, true,
                       [this] { setProgress(static_cast<int>(line_.bytesAvailable() / 10) + 5); });
        // One stray byte among the digits would shift every later word: a longer answer is
        // refused, not cut at 516 bytes. Line ends after it are taken in with it.
        if (line_.bytesAvailable() >= kBulkAnswerBytes)
            wait_.answerTail(kAnswerTailQuietMicros);
        if (stoppedWaiting()) {
            hideProgress();
            return {LinkStatus::Stopped};
        }
    }
    const QByteArray answer = sent ? line_.readAll() : QByteArray();
    setProgress(80);
    const std::optional<DeviceWords> words = bulkAnswerWords(answer);
    answerFault_ = LinkMessages::bulkAnswerFault(device, bulkAnswerFault(answer));
    if (!words) {
        setProgress(0);
        hideProgress();
        answersClean_ = false;
        endOperation();
        return {LinkStatus::NoAnswer};
    }
    setProgress(95);
    setProgress(100);
    hideProgress();
    endOperation();
    return {LinkStatus::Done, *words};
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
