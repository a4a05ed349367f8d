#pragma once

#include "image/image_state.h"
#include "link/answer_wait.h"
#include "link/link_progress.h"

#include <QByteArray>
#include <QtGlobal>

#include <array>
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

// How one word write ended.
enum class WordWrite {
    Answered, // sent and answered, or sent when a stop ended the wait for its answer
    NoAnswer, // sent; no answer of 11 bytes or more came in time
    NotSent,  // the line did not take the command (it is gone)
};

// Word access to the switch devices and the EEPROM and PHY transfers built on it, on one serial
// line. Results are returned; the image is only read (the transfers' words come from it), and
// phyUpdatePending is cleared once the PHYs were written.
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

    // Whole and changed-only writes end early, between two words, once this says so; a wait for
    // an answer ends at once, and its operation with Stopped.
    void setStopRequest(StopRequest stop);
    bool stopRequested() const { return stop_ && stop_(); }
    // The EEPROM words the last whole or changed-only write sent (answered or not), and how many
    // it was to send.
    int wordsSent() const { return wordsSent_; }
    int wordsToSend() const { return wordsToSend_; }
    // Whether every word the last whole, changed-only or port-word write sent to `device` was
    // answered.
    bool wordsAnswered(int device) const { return !unanswered_.at(device); }
    // Names what the progress bar follows from now on.
    void setPhase(const QString &phase);

    // Writes one word and waits up to 3 s for the answer, then until its last byte is in. The
    // answer has 11 bytes or more; how many, the switch decides. The first write of a series (since
    // the port was opened) waits for the line to fall quiet and takes the bytes received as its
    // answer. Later writes expect the longer of the last two answers: once two answers are known,
    // an answer of that length is over as soon as it is in; a shorter one (of 11 bytes or more)
    // once the line stayed quiet past the moment the expected length would have been in.
    WordWrite writeWord(int device, int space, int address, quint16 value);
    // Reads one byte of a device register.
    LinkResult<quint8> readRegisterByte(int device, int space, int address);
    // Sends the presence probe; the value is every byte that came (no answer when none did),
    // including any that follow the sixth within a few byte times.
    LinkResult<QByteArray> probeDevices();
    // Sends the reset command; nothing is awaited.
    LinkStatus resetSwitch();

    // Reads the 128 words of the EEPROM of `device`. NoAnswer when the answer was short, long or
    // garbled; answerFault() then says how. Line ends after the answer are no fault.
    LinkResult<DeviceWords> readEeprom(int device);
    // Why the last EEPROM read failed, for the user; empty after one that succeeded.
    QString answerFault() const { return answerFault_; }
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
    // A short quiet gap does not prove that an answer is over: a UART's receive FIFO may hold its
    // last bytes for about four byte times (a byte takes 1.04 ms at 9600 baud), and USB adapters
    // deliver in bursts up to 16 ms apart. The first answer of a series of word writes is waited
    // out behind a quiet time longer than both, and so is any answer that came in bursts (longer
    // still when a longer gap between bursts was seen). The line must be as quiet once a series
    // is over, so that no late byte lands in the next read; when the last answer came in step
    // with the line, a byte time and a half is enough.
    static constexpr int kSeriesQuietMicros = 20000;

    // Opens the port, unless it is held and fine.
    bool beginOperation();
    // Closes the port, unless it is held and every answer since it was opened was whole.
    void endOperation();
    // After a wait: true, with the operation ended, when it ended for a stop.
    bool stoppedWaiting();
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
    // Starts a series of word writes: the answers' length is learned anew.
    void forgetWriteAnswers();

    // The lengths of the last two answers to word writes of this series; 0 where none came yet.
    qint64 writeAnswerBytes_ = 0;
    qint64 earlierWriteAnswerBytes_ = 0;
    // The bytes that were in when the last answer was taken as whole.
    qint64 writeAnswerTaken_ = 0;
    QString answerFault_;
    StopRequest stop_;
    int wordsSent_ = 0;
    int wordsToSend_ = 0;
    std::array<bool, kDeviceSlots> unanswered_{};
};
