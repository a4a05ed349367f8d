#pragma once

#include "link/device_link.h"

#include <QString>

#include <functional>
#include <optional>

// How a Read or Write command ended.
enum class SessionOutcome {
    Done,
    // The switch could not be reached or is not the selected model; nothing was changed.
    PortNotOpened,
    NoAnswer,        // the presence probe got no usable answer
    DevicesNotReady, // the probe answer had the wrong length
    DeviceMissing,   // a device of the model did not answer the probe
    ModuleMismatch,  // the module fitted does not match the model
    // A transfer failed.
    EepromReadFailed, // an EEPROM gave no answer twice (Read: the image is unchanged)
    VerifyFailed,     // Write: a device read back differently (or not at all); no reset was sent
    NotRestarted,     // Write: every device verified, but the reset could not be sent
    // A stop was requested: a read changed nothing; a write ended between two words (see
    // DeviceLink::wordsSent) and the switch was not reset. Nothing was reported.
    Stopped,
};

enum class MessageSeverity { Exclamation, Critical };

// Where the commands' messages go: message boxes in the window, stderr in the command line.
class SessionMessageSink
{
public:
    virtual ~SessionMessageSink() = default;
    virtual void report(const QString &text, MessageSeverity severity) = 0;
    // A message with the reason behind it (why a port did not open, say). Sinks that cannot show
    // the reason show the message alone.
    virtual void reportWithReason(const QString &text, MessageSeverity severity,
                                  const QString &reason)
    {
        Q_UNUSED(reason);
        report(text, severity);
    }
};

// The Read and Write commands against a switch of the given model (0..2), on one serial line.
// Each reports its failures through the sink and its transfers through the progress callback; it
// never touches a window (the caller disables its window around the whole command).
class SwitchSession
{
public:
    SwitchSession(ImageState &state, SerialLine &line, LinkClock &clock,
                  SessionMessageSink &messages, ProgressCallback progress = {});

    // Checks the switch, reads the EEPROM of every device of the model and, only when all of them
    // were read, puts them into the image: imageLoaded, portWords follow.
    SessionOutcome read(int model);
    // Checks the switch, writes the whole image, reads every device back, and resets the switch
    // when every device verified. The image is not changed.
    SessionOutcome write(int model);
    // Called by writeChanges once every device was read, with what the switch holds: it may set
    // the image to write (the state's eepromImage) from that, and says whether to write at all.
    using BeforeWritingChanges = std::function<bool(const ImageWords &onSwitch)>;
    // Checks the switch and reads every device as read does, writes only the words in which the
    // image differs from what was read, then verifies and resets as write does. A switch that
    // already holds the image was just read whole: it is neither written, verified again nor
    // reset. When `beforeWriting` says no, nothing is written and the switch is not reset (Done).
    // The image is not changed, but by `beforeWriting`.
    SessionOutcome writeChanges(int model, const BeforeWritingChanges &beforeWriting = {});

    // The procedures underneath, for commands that need them alone.
    DeviceLink &link() { return link_; }
    // Commands end early, between two words or two devices, once `stop` says so.
    void setStopRequest(StopRequest stop) { link_.setStopRequest(std::move(stop)); }

private:
    // Drops stale input, then the presence check and the module check as Read makes them.
    SessionOutcome checkForReading(int model);
    // Reads the EEPROM of every device of the model into `image`, each retried once.
    SessionOutcome readDevices(int model, ImageWords &image);
    // Reads every device back and compares it with the image; resets the switch when all agree.
    // Once words were written, a port that no longer opens is a failed write, not "nothing
    // changed".
    SessionOutcome verifyAndReset(int model, bool wordsWritten);
    // The port message; once words were written, then `meaning` as `outcome`.
    SessionOutcome lostAfterWriting(bool wordsWritten, SessionOutcome outcome, const char *meaning);
    SessionOutcome checkPresence(int model);
    SessionOutcome checkModule(int model, bool secondReadingOn24Port);
    // False when the command must end: the port did not open, or a stop was asked for.
    bool readModuleCode(std::optional<quint8> &code);
    // How the command ends after readModuleCode said it must.
    SessionOutcome moduleReadEnded();
    // Device `device`'s EEPROM under `phase`, read once more when the first answer was bad;
    // Stopped when a stop was asked for before it.
    LinkResult<DeviceWords> readDevice(int device, const QString &phase);
    SessionOutcome fail(SessionOutcome outcome, const QString &text, MessageSeverity severity);
    SessionOutcome portNotOpened();

    ImageState &state_;
    SerialLine &line_;
    SessionMessageSink &messages_;
    DeviceLink link_;
    LinkStatus moduleReadEnd_ = LinkStatus::PortNotOpened;
};
