#pragma once

#include "command_parser.h"
#include "fault_plan.h"
#include "image/image_state.h"

#include <QByteArray>
#include <QString>

#include <array>

// What the controller does about one command.
struct Reply {
    QByteArray answer; // sent back to the PC; empty when the command gets no answer
    QString logLine;   // "write 2 0 028 19551", "read 3 1 115 1", "probe", "reset", ...
    bool eepromChanged = false;
};

// The switch's management controller and the devices behind it: the EEPROM words, the switch
// registers, which devices answer, and the faults it was told to show.
//
// Log lines end in a note when the command was not carried out as sent:
//   " dropped"   the line is down (fault), nothing was answered or done
//   " missing"   the device is absent, nothing was answered or done
//   " invalid"   a field is out of range (odd EEPROM address, byte above 255, ...), ditto
//   " stored N"  a corrupt word kept N instead of the written value
//   " silent", " short", " long", " garbled", " nonhex"   the answer was spoiled on purpose
class EmulatedSwitch
{
public:
    static constexpr int kModuleCodeRegister = 115;

    EmulatedSwitch(int model, const ImageWords &eeprom, Faults::FaultPlan faults = {});

    Reply execute(const Command &command);

    int model() const { return model_; }
    const ImageWords &eeprom() const { return eeprom_; }
    quint16 switchRegister(int device, int reg) const { return registers_[device][reg]; }
    int resetCount() const { return resets_; }
    // Fitted in the model and not made missing by a fault.
    bool isPresent(int device) const;
    // Sending junk without end (the flood fault began).
    bool flooding() const { return flooding_; }

private:
    using Registers = std::array<quint16, 256>;

    Reply probe(Reply reply);
    Reply writeWord(const Command &command, Reply reply);
    Reply read(const Command &command, Reply reply);

    bool lineIsDown() const;
    quint8 registerByte(int device, int reg);
    int nextModuleCode();
    quint16 storedValue(int device, int word, quint16 written) const;
    void spoilRead(int device, Reply &reply, int count);

    int model_;
    ImageWords eeprom_;
    Faults::FaultPlan faults_;
    std::array<Registers, kDeviceSlots> registers_{};

    // The controller's echo of a word write, cut or padded to the length of the answer's turn.
    QByteArray writeAnswer(const QByteArray &echo);

    int resets_ = 0;
    bool flooding_ = false;
    int writesAnswered_ = 0;
    int droppedCommands_ = 0;
    bool lineRestored_ = false;
    int probesSpoiled_ = 0;
    std::array<int, kDeviceSlots> readsSpoiled_{};
    std::size_t moduleCodeIndex_ = 0;
};
