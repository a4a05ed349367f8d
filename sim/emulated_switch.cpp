#include "emulated_switch.h"

#include "image/device_models.h"

namespace
{

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kAnswerHeader = 4; // "nr", device digit, space digit
constexpr quint8 kAbsentDevice = 0xFF;

QString describe(const Command &command)
{
    switch (command.kind) {
    case Command::Kind::WriteWord:
        return QStringLiteral("write %1 %2 %3 %4")
            .arg(command.device)
            .arg(command.space)
            .arg(command.address, 3, 10, QLatin1Char('0'))
            .arg(command.value());
    case Command::Kind::Read:
        return QStringLiteral("read %1 %2 %3 %4")
            .arg(command.device)
            .arg(command.space)
            .arg(command.address, 3, 10, QLatin1Char('0'))
            .arg(command.count);
    case Command::Kind::Probe:
        return QStringLiteral("probe");
    case Command::Kind::Reset:
        return QStringLiteral("reset");
    }
    return {};
}

int defaultModuleCode(int model)
{
    return deviceModelInfo(model).moduleCode; // 0: none fitted
}

bool isModuleCodeRead(const Command &command)
{
    return command.device == kModuleDevice && command.space == 1 &&
           command.address == EmulatedSwitch::kModuleCodeRegister;
}

} // namespace

EmulatedSwitch::EmulatedSwitch(int model, const ImageWords &eeprom, Faults::FaultPlan faults)
    : model_(model), eeprom_(eeprom), faults_(std::move(faults))
{
}

bool EmulatedSwitch::isPresent(int device) const
{
    return device >= 0 && device < deviceCountOf(model_) &&
           !faults_.missing[static_cast<std::size_t>(device)];
}

Reply EmulatedSwitch::execute(const Command &command)
{
    Reply reply;
    reply.logLine = describe(command);
    if (faults_.floodAfterWrites && writesAnswered_ >= *faults_.floodAfterWrites) {
        flooding_ = true;
        reply.logLine += QStringLiteral(" flooded");
        return reply;
    }
    if (lineIsDown()) {
        ++droppedCommands_;
        if (faults_.dropCommands && droppedCommands_ >= *faults_.dropCommands)
            lineRestored_ = true;
        reply.logLine += QStringLiteral(" dropped");
        return reply;
    }
    switch (command.kind) {
    case Command::Kind::Probe:
        return probe(std::move(reply));
    case Command::Kind::Reset:
        ++resets_;
        return reply;
    case Command::Kind::WriteWord:
        return writeWord(command, std::move(reply));
    case Command::Kind::Read:
        return read(command, std::move(reply));
    }
    return reply;
}

bool EmulatedSwitch::lineIsDown() const
{
    return faults_.dropAfterWrites && !lineRestored_ && writesAnswered_ >= *faults_.dropAfterWrites;
}

Reply EmulatedSwitch::probe(Reply reply)
{
    reply.answer = "ns";
    for (int d = 0; d < kDeviceSlots; ++d)
        reply.answer.append(static_cast<char>(isPresent(d) ? d : kAbsentDevice));

    using Faults::ProbeFault;
    if (faults_.probeFault == ProbeFault::None ||
        (faults_.probeFaultTimes && probesSpoiled_ >= *faults_.probeFaultTimes))
        return reply;
    ++probesSpoiled_;
    switch (faults_.probeFault) {
    case ProbeFault::Silent:
        reply.answer.clear();
        reply.logLine += QStringLiteral(" silent");
        break;
    case ProbeFault::Short:
        reply.answer.chop(1);
        reply.logLine += QStringLiteral(" short");
        break;
    case ProbeFault::Long:
        reply.answer.append('\0');
        reply.logLine += QStringLiteral(" long");
        break;
    case ProbeFault::Garbled:
        reply.answer[0] = 's';
        reply.answer[1] = 'n';
        reply.logLine += QStringLiteral(" garbled");
        break;
    case ProbeFault::None:
        break;
    }
    return reply;
}

Reply EmulatedSwitch::writeWord(const Command &command, Reply reply)
{
    if (!isPresent(command.device)) {
        reply.logLine += QStringLiteral(" missing");
        return reply;
    }
    const bool eeprom = command.space == 0;
    if (command.space > 1 || command.address > 255 || command.high > 255 || command.low > 255 ||
        (eeprom && command.address % 2 != 0)) {
        reply.logLine += QStringLiteral(" invalid");
        return reply;
    }

    reply.answer = writeAnswer(command.raw); // the controller echoes what it executed
    ++writesAnswered_;
    const auto value = static_cast<quint16>(command.value());
    if (!eeprom) {
        registers_[command.device][command.address] = value;
        return reply;
    }
    const int word = command.address / 2;
    const quint16 stored = storedValue(command.device, word, value);
    if (stored != value)
        reply.logLine += QStringLiteral(" stored %1").arg(stored);
    quint16 &target = eeprom_[command.device][word];
    reply.eepromChanged = target != stored;
    target = stored;
    return reply;
}

Reply EmulatedSwitch::read(const Command &command, Reply reply)
{
    if (!isPresent(command.device) && !isModuleCodeRead(command)) {
        reply.logLine += QStringLiteral(" missing");
        return reply;
    }
    if (command.space > 1 || command.address > 255 || command.count < 1 || command.count > 256) {
        reply.logLine += QStringLiteral(" invalid");
        return reply;
    }

    reply.answer = "nr";
    reply.answer.append(static_cast<char>('0' + command.device));
    reply.answer.append(static_cast<char>('0' + command.space));
    for (int i = 0; i < command.count; ++i) {
        // Sequential reads roll over at the end of the space, as an EEPROM's address counter does.
        const int at = (command.address + i) % 256;
        quint8 byte = 0;
        if (command.space == 0) {
            const quint16 word = eeprom_[command.device][at / 2];
            byte = static_cast<quint8>(at % 2 == 0 ? word >> 8 : word & 0xFF);
        } else {
            byte = registerByte(command.device, at);
        }
        reply.answer.append(kHexDigits[byte >> 4]);
        reply.answer.append(kHexDigits[byte & 0xF]);
    }
    if (command.space == 0) {
        spoilRead(command.device, reply, command.count);
        reply.answer += faults_.readTrailer;
    }
    return reply;
}

QByteArray EmulatedSwitch::writeAnswer(const QByteArray &echo)
{
    const std::vector<int> &lengths = faults_.writeAnswerLengths;
    if (lengths.empty())
        return echo;
    const std::size_t turn = static_cast<std::size_t>(writesAnswered_);
    const int length = faults_.repeatLastWriteAnswer ? lengths[std::min(turn, lengths.size() - 1)]
                                                     : lengths[turn % lengths.size()];
    // Padded with blanks: what a controller adds after the echo is not looked at.
    return echo.left(length).leftJustified(length, ' ');
}

quint8 EmulatedSwitch::registerByte(int device, int reg)
{
    if (device == kModuleDevice && reg == kModuleCodeRegister)
        return static_cast<quint8>(nextModuleCode());
    return static_cast<quint8>(registers_[device][reg] & 0xFF);
}

int EmulatedSwitch::nextModuleCode()
{
    const std::vector<int> &codes = faults_.moduleCodes;
    if (codes.empty())
        return defaultModuleCode(model_);
    const std::size_t index = std::min(moduleCodeIndex_, codes.size() - 1);
    ++moduleCodeIndex_;
    return codes[index];
}

quint16 EmulatedSwitch::storedValue(int device, int word, quint16 written) const
{
    for (const Faults::CorruptWord &corrupt : faults_.corruptWords) {
        if (corrupt.device == device && corrupt.word == word)
            return corrupt.value.value_or(static_cast<quint16>(written ^ 1));
    }
    return written;
}

void EmulatedSwitch::spoilRead(int device, Reply &reply, int count)
{
    const Faults::ReadFaultRule &rule = faults_.readFaults[static_cast<std::size_t>(device)];
    int &spoiled = readsSpoiled_[static_cast<std::size_t>(device)];
    if (rule.kind == Faults::ReadFault::None || (rule.times && spoiled >= *rule.times))
        return;
    ++spoiled;
    if (rule.kind == Faults::ReadFault::Short) {
        reply.answer.chop(1);
        reply.logLine += QStringLiteral(" short");
    } else {
        // 'G' follows 'F': a decoder that only asks "is it a letter from A up" takes it.
        reply.answer[kAnswerHeader + count] = 'G';
        reply.logLine += QStringLiteral(" nonhex");
    }
}
