#pragma once

#include "image/image_state.h"
#include "link/answer_wait.h"
#include "link/link_progress.h"

#include <QByteArray>
#include <QtGlobal>

#include <functional>

class LinkClock;
class SerialLine;

// How a link operation ended.
enum class LinkStatus {
    Done,
    NoAnswer,      // no answer, a short one, or one that could not be read
    PortNotOpened, // the serial port could not be opened
    Stopped,       // a stop was requested; the word on the wire was finished first
};

// Asked between the words of a write: true once the user wants the command to end.
using StopRequest = std::function<bool()>;

template <typename T> struct LinkResult {
    LinkStatus status = LinkStatus::NoAnswer;
    T value{}; // meaningful when status is Done
    bool answered() const { return status == LinkStatus::Done; }
};

// Word access to the switch devices and the EEPROM and PHY transfers built on it, on one serial
// line. The results go through ImageState (readBuffer, writeTimedOut, phyUpdatePending); the
// image itself is never changed here.
class DeviceLink
{
public:
    DeviceLink(ImageState &state, SerialLine &line, LinkClock &clock,
               ProgressCallback progress = {});

    // Every operation opens and closes the port itself, except writeWord and
    // writePhyRegisters, which work on a port opened with openPort().
    bool openPort();
    void closePort();
    // From here to releasePort(), the port stays open from one operation to the next, so that a
    // command does not pay for opening it (and for the lock file that goes with it) at every
    // step. After a missing, short or odd answer, or once the line went away, the next
    // operation opens it afresh, as it would without the hold.
    void holdPort();
    void releasePort();

    // Whole and changed-only writes end early, between two words, once this says so.
    void setStopRequest(StopRequest stop) { stop_ = std::move(stop); }
    bool stopRequested() const { return stop_ && stop_(); }
    // The EEPROM words the last whole or changed-only write sent (answered or not), and how many
    // it was to send.
    int wordsSent() const { return wordsSent_; }
    int wordsToSend() const { return wordsToSend_; }
    // Names what the progress bar follows from now on.
    void setPhase(const QString &phase);

    // Writes one word and waits up to 3 s for the answer, then until its last byte is in;
    // writeTimedOut tells whether it came. The first write of a series (since the port was
    // opened) waits for the line to fall quiet and takes the bytes received as the answer length
    // of this switch; later writes wait for that many bytes. False when the command did not go
    // out at all (the line is gone).
    bool writeWord(int device, int space, int address, quint16 value);
    // Reads one byte of a device register.
    LinkResult<quint8> readRegisterByte(int device, int space, int address);
    // Sends the presence probe; the value is every byte that came (no answer when none did),
    // including any that follow the sixth within a few byte times.
    LinkResult<QByteArray> probeDevices();
    // Sends the reset command; nothing is awaited.
    LinkStatus resetSwitch();

    // Reads the EEPROM of `device` into readBuffer. NoAnswer (readBuffer unchanged) when the
    // answer was short, long or garbled.
    LinkStatus readEeprom(int device);
    // Writes every word of the image to the devices of the model. A word without answer ends that
    // device's pass; the next device is still written. Only the read-back finds such faults.
    LinkStatus writeEepromAll(int model);
    // Writes the words of the image that differ from `onSwitch` (what the devices of the model
    // hold), in the order of a whole write; a word without answer ends its device's pass. Sends
    // nothing, and does not open the port, when no word differs.
    LinkStatus writeEepromChanged(int model, const ImageWords &onSwitch);
    // Writes the port words (EEPROM words 13..28) of devices 0..2; missing answers are ignored.
    LinkStatus writeEepromPortWords();
    // When phyUpdatePending: writes each port's advertised abilities to its PHY and restarts
    // auto-negotiation, devices 0..2; then clears phyUpdatePending.
    void writePhyRegisters();

private:
    // Opens the port, unless it is held and fine.
    bool beginOperation();
    // Closes the port, unless it is held and every answer since it was opened was whole.
    void endOperation();
    bool sendCommand(const QByteArray &command);
    void showProgress(int value);
    void setProgress(int value);
    void hideProgress();
    void updateProgress(const ProgressState &state);

    ImageState &state_;
    SerialLine &line_;
    ProgressCallback progress_;
    AnswerWait wait_;
    bool held_ = false;
    bool answersClean_ = true;
    ProgressState progressState_;
    // The length of a word write's answer, learned at the first write of a series; 0 until then.
    qint64 writeAnswerBytes_ = 0;
    StopRequest stop_;
    int wordsSent_ = 0;
    int wordsToSend_ = 0;
};
