#include "link/device_link.h"

#include "image/device_models.h"
#include "link/wire_protocol.h"

#include <vector>

using namespace WireProtocol;

// The transfers of many words: whole and changed-only EEPROM writes, the port words, the PHYs.

namespace
{

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

LinkStatus DeviceLink::writeEepromAll(int model)
{
    const int devices = deviceCountOf(model);
    wordsSent_ = 0;
    wordsToSend_ = devices * kWordsPerDevice;
    unanswered_ = {};
    if (!openPort())
        return LinkStatus::PortNotOpened;
    showProgress(0);
    bool stopped = false;
    for (int d = 0; d < devices && !stopped; ++d) {
        setPhase(writingPhase(d + 1, devices));
        for (int w = 0; w < kWordsPerDevice; ++w) {
            if ((stopped = stopRequested()))
                break;
            const WordWrite written = writeWord(d, kEepromSpace, 2 * w, state_.eepromImage[d][w]);
            // A word the line could not take did not reach the switch.
            wordsSent_ += written != WordWrite::NotSent ? 1 : 0;
            setProgress(w * 100 / kWordsPerDevice);
            if ((unanswered_[d] = written != WordWrite::Answered))
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
    unanswered_ = {};
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
            const WordWrite written = writeWord(at.device, kEepromSpace, 2 * at.word,
                                                state_.eepromImage[at.device][at.word]);
            wordsSent_ += written != WordWrite::NotSent ? 1 : 0;
            if ((unanswered_[at.device] = written != WordWrite::Answered))
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
    unanswered_ = {};
    if (!openPort())
        return LinkStatus::PortNotOpened;
    showProgress(1);
    setProgress(5);
    int progress = 5;
    for (int d = 0; d < 3; ++d) {
        for (int i = 0; i < kPortWordsPerDevice; ++i) {
            if (writeWord(d, kEepromSpace, portWordAddress(i), state_.portWords[d][i]) !=
                WordWrite::Answered)
                unanswered_[d] = true;
        }
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
    forgetWriteAnswers();
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
