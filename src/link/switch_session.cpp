#include "link/switch_session.h"

#include "image/device_models.h"
#include "image/image_state.h"
#include "link/link_messages.h"
#include "link/serial_line.h"
#include "link/wire_protocol.h"

using namespace LinkMessages;

namespace
{

// Register 115 of the module device says which module is fitted.
constexpr int kModuleRegister = 115;
constexpr quint8 kModuleNotReady = 1;
constexpr int kNotReadyRetries = 5;

// A code that some model's module answers with.
bool isModule(const std::optional<quint8> &code)
{
    for (int model = 0; model < kModelCount; ++model) {
        const DeviceModelInfo &info = deviceModelInfo(model);
        if (info.hasModuleDevice() && code == info.moduleCode)
            return true;
    }
    return false;
}

// One command keeps its port open from its first step to its last.
class HeldPort
{
public:
    explicit HeldPort(DeviceLink &link) : link_(link) { link_.holdPort(); }
    ~HeldPort() { link_.releasePort(); }
    HeldPort(const HeldPort &) = delete;
    HeldPort &operator=(const HeldPort &) = delete;

private:
    DeviceLink &link_;
};

} // namespace

SwitchSession::SwitchSession(ImageState &state, SerialLine &line, LinkClock &clock,
                             SessionMessageSink &messages, ProgressCallback progress)
    : state_(state), line_(line), messages_(messages),
      link_(state, line, clock, std::move(progress))
{
}

SessionOutcome SwitchSession::read(int model)
{
    const HeldPort held(link_);
    if (const SessionOutcome outcome = checkForReading(model); outcome != SessionOutcome::Done)
        return outcome;
    // Every device is read before the image changes, so a failure leaves it as it was.
    ImageWords staged = state_.eepromImage;
    if (const SessionOutcome outcome = readDevices(model, staged); outcome != SessionOutcome::Done)
        return outcome;
    state_.takeLoadedImage(staged);
    return SessionOutcome::Done;
}

SessionOutcome SwitchSession::write(int model)
{
    const HeldPort held(link_);
    if (!link_.openPort())
        return portNotOpened();
    link_.closePort();

    if (const SessionOutcome outcome = checkPresence(model); outcome != SessionOutcome::Done)
        return outcome;
    if (const SessionOutcome outcome = checkModule(model, false); outcome != SessionOutcome::Done)
        return outcome;

    if (link_.stopRequested())
        return SessionOutcome::Stopped;
    switch (link_.writeEepromAll(model)) {
    case LinkStatus::PortNotOpened:
        return portNotOpened();
    case LinkStatus::Stopped:
        return SessionOutcome::Stopped;
    default:
        return verifyAndReset(model, true);
    }
}

SessionOutcome SwitchSession::writeChanges(int model, const BeforeWritingChanges &beforeWriting)
{
    const HeldPort held(link_);
    if (const SessionOutcome outcome = checkForReading(model); outcome != SessionOutcome::Done)
        return outcome;
    ImageWords onSwitch = state_.eepromImage;
    if (const SessionOutcome outcome = readDevices(model, onSwitch);
        outcome != SessionOutcome::Done)
        return outcome;
    if (beforeWriting && !beforeWriting(onSwitch))
        return SessionOutcome::Done;
    switch (link_.writeEepromChanged(model, onSwitch)) {
    case LinkStatus::PortNotOpened:
        return portNotOpened();
    case LinkStatus::Stopped:
        return SessionOutcome::Stopped;
    default:
        break;
    }
    // Restarting a switch that needed nothing would interrupt its traffic for no change.
    if (link_.wordsToSend() == 0)
        return SessionOutcome::Done;
    return verifyAndReset(model, true);
}

SessionOutcome SwitchSession::checkForReading(int model)
{
    // Whatever the switch sent while nobody listened is not an answer to what follows.
    if (!link_.openPort())
        return portNotOpened();
    line_.discardInput();
    link_.closePort();

    if (const SessionOutcome outcome = checkPresence(model); outcome != SessionOutcome::Done)
        return outcome;
    if (link_.stopRequested())
        return SessionOutcome::Stopped;
    return checkModule(model, true);
}

SessionOutcome SwitchSession::readDevices(int model, ImageWords &image)
{
    for (int d = 0; d < deviceCountOf(model); ++d) {
        const LinkResult<DeviceWords> read =
            readDevice(d, readingPhase(d + 1, deviceCountOf(model)));
        if (read.status == LinkStatus::Stopped)
            return SessionOutcome::Stopped;
        if (read.status == LinkStatus::PortNotOpened)
            return portNotOpened();
        if (!read.answered()) {
            messages_.reportWithReason(eepromReadingFail(d), MessageSeverity::Critical,
                                       link_.answerFault());
            return SessionOutcome::EepromReadFailed;
        }
        image[d] = read.value;
    }
    return SessionOutcome::Done;
}

SessionOutcome SwitchSession::verifyAndReset(int model, bool wordsWritten)
{
    bool writingError = false;
    for (int d = 0; d < deviceCountOf(model); ++d) {
        const LinkResult<DeviceWords> read =
            readDevice(d, verifyingPhase(d + 1, deviceCountOf(model)));
        if (read.status == LinkStatus::Stopped)
            return SessionOutcome::Stopped;
        if (read.status == LinkStatus::PortNotOpened)
            return lostAfterWriting(wordsWritten, SessionOutcome::VerifyFailed, kWriteOnceAgain);
        if (!read.answered() || read.value != state_.eepromImage[d]) {
            writingError = true;
            // Every word was answered and only the reading failed: the words may well be there,
            // and a difference was not seen.
            const bool onlyReadBackFailed = !read.answered() && link_.wordsAnswered(d);
            messages_.report(onlyReadBackFailed ? readBackFailed(d) : eepromWritingError(d),
                             MessageSeverity::Critical);
        }
    }
    // The switch keeps its old configuration until it restarts; restart it only on a verified
    // image.
    if (writingError)
        return fail(SessionOutcome::VerifyFailed, QString::fromLatin1(kWriteOnceAgain),
                    MessageSeverity::Exclamation);
    const LinkStatus reset = link_.resetSwitch();
    if (reset == LinkStatus::PortNotOpened)
        return lostAfterWriting(wordsWritten, SessionOutcome::NotRestarted, kNotRestarted);
    // The port opened but the reset did not go out: the switch has not restarted either.
    if (reset != LinkStatus::Done)
        return fail(SessionOutcome::NotRestarted, QString::fromLatin1(kNotRestarted),
                    MessageSeverity::Exclamation);
    return SessionOutcome::Done;
}

SessionOutcome SwitchSession::lostAfterWriting(bool wordsWritten, SessionOutcome outcome,
                                               const char *meaning)
{
    const SessionOutcome lost = portNotOpened();
    if (!wordsWritten)
        return lost;
    return fail(outcome, QString::fromLatin1(meaning), MessageSeverity::Exclamation);
}

SessionOutcome SwitchSession::checkPresence(int model)
{
    LinkResult<QByteArray> probe = link_.probeDevices();
    if (probe.status == LinkStatus::NoAnswer)
        probe = link_.probeDevices();
    if (probe.status == LinkStatus::PortNotOpened)
        return portNotOpened();
    if (probe.status == LinkStatus::Stopped)
        return SessionOutcome::Stopped;

    const WireProtocol::PresenceStatus presence =
        WireProtocol::presenceStatus(probe.value, deviceCountOf(model));
    switch (presence.kind) {
    case WireProtocol::PresenceStatus::NoAccess:
        return fail(SessionOutcome::NoAnswer, QString::fromLatin1(kFailedToAccess),
                    MessageSeverity::Exclamation);
    case WireProtocol::PresenceStatus::NotReady:
        return fail(SessionOutcome::DevicesNotReady, QString::fromLatin1(kDevicesNotReady),
                    MessageSeverity::Exclamation);
    case WireProtocol::PresenceStatus::Checked:
        break;
    }
    if (presence.missingDevices != 0)
        return fail(SessionOutcome::DeviceMissing, devicesNotFound(presence.missingDevices),
                    MessageSeverity::Critical);
    return SessionOutcome::Done;
}

SessionOutcome SwitchSession::checkModule(int model, bool secondReadingOn24Port)
{
    std::optional<quint8> code;
    if (!readModuleCode(code))
        return moduleReadEnded();
    for (int retry = 0; retry < kNotReadyRetries && code == kModuleNotReady; ++retry) {
        if (!readModuleCode(code))
            return moduleReadEnded();
    }

    const DeviceModelInfo &info = deviceModelInfo(model);
    if (!info.hasModuleDevice()) {
        const auto moduleDetected = [this] {
            return fail(SessionOutcome::ModuleMismatch, QString::fromLatin1(kModuleDetected),
                        MessageSeverity::Critical);
        };
        if (isModule(code))
            return moduleDetected();
        if (!secondReadingOn24Port)
            return SessionOutcome::Done;
        if (!readModuleCode(code))
            return moduleReadEnded();
        if (code == kModuleNotReady && !readModuleCode(code))
            return moduleReadEnded();
        return isModule(code) ? moduleDetected() : SessionOutcome::Done;
    }

    if (code != info.moduleCode && !readModuleCode(code))
        return moduleReadEnded();
    if (code != info.moduleCode)
        return fail(SessionOutcome::ModuleMismatch,
                    QString::fromLatin1(info.hasGigabitModule() ? kGigabitModuleNotFound
                                                                : kEightPortModuleNotFound),
                    MessageSeverity::Critical);
    return SessionOutcome::Done;
}

bool SwitchSession::readModuleCode(std::optional<quint8> &code)
{
    const LinkResult<quint8> reading =
        link_.readRegisterByte(kModuleDevice, WireProtocol::kRegisterSpace, kModuleRegister);
    if (reading.status == LinkStatus::PortNotOpened || reading.status == LinkStatus::Stopped) {
        moduleReadEnd_ = reading.status;
        return false;
    }
    code = reading.answered() ? std::optional<quint8>(reading.value) : std::nullopt;
    return true;
}

LinkResult<DeviceWords> SwitchSession::readDevice(int device, const QString &phase)
{
    if (link_.stopRequested())
        return {LinkStatus::Stopped};
    link_.setPhase(phase);
    const LinkResult<DeviceWords> first = link_.readEeprom(device);
    return first.status == LinkStatus::NoAnswer ? link_.readEeprom(device) : first;
}

SessionOutcome SwitchSession::fail(SessionOutcome outcome, const QString &text,
                                   MessageSeverity severity)
{
    messages_.report(text, severity);
    return outcome;
}

SessionOutcome SwitchSession::moduleReadEnded()
{
    return moduleReadEnd_ == LinkStatus::Stopped ? SessionOutcome::Stopped : portNotOpened();
}

SessionOutcome SwitchSession::portNotOpened()
{
    messages_.reportWithReason(QString::fromLatin1(kPortOpenError), MessageSeverity::Critical,
                               line_.errorText());
    return SessionOutcome::PortNotOpened;
}
