#include "fake_switch.h"

#include "support/image_builders.h"

namespace
{

int field(const QByteArray &command, int from, int length)
{
    return command.mid(from, length).toInt();
}

template <typename T> T next(QList<T> &answers)
{
    return answers.size() > 1 ? answers.takeFirst() : answers.value(0);
}

} // namespace

QByteArray FakeSwitch::answer(const QByteArray &command)
{
    if (command == "j") {
        ++resets;
    } else if (command == "ns") {
        ++probes;
        return next(probeAnswers);
    } else if (command.startsWith("no") && command.size() == 14) {
        const WordWrite write{field(command, 2, 1), field(command, 3, 1), field(command, 4, 3),
                              field(command, 7, 3) * 256 + field(command, 10, 3)};
        writes << write;
        if (ignoresWrite && ignoresWrite(write))
            return {};
        if (write.space == 0)
            eeprom[write.device][write.address / 2] =
                static_cast<quint16>(write.value ^ (garblesWrite && garblesWrite(write)));
        return command.left(13);
    } else if (command == "nr31115001\r") {
        ++moduleReads;
        const int code = next(moduleCodes);
        return code < 0 ? QByteArray() : "nr310" + QByteArray::number(code, 16).toUpper();
    } else if (command.startsWith("nr") && command.endsWith("0000256\r")) {
        const int device = field(command, 2, 1);
        bulkReads << device;
        QByteArray reply = command.left(4);
        for (quint16 word : eeprom[device])
            reply += QByteArray::number(word, 16).toUpper().rightJustified(4, '0');
        if (shortBulkAnswers[device] > 0 && shortBulkAnswers[device]--)
            reply.chop(1);
        return reply;
    }
    return {};
}

LinkRig::LinkRig()
{
    module.applyStartupDefaults();
    line.answer = [this](const QByteArray &command) { return device.answer(command); };
}

SessionOutcome LinkRig::run(bool write, int model)
{
    SwitchSession session(module, line, clock, sink, recordProgress());
    return write ? session.write(model) : session.read(model);
}

ProgressCallback LinkRig::recordProgress()
{
    return [this](const ProgressState &state) {
        progress << (state.visible ? QString() : QStringLiteral("-")) +
                        QString::number(state.value);
    };
}

void tagImage(ImageWords &image, int salt)
{
    for (int d = 0; d < 4; ++d)
        for (int w = 0; w < 128; ++w)
            image[d][w] = static_cast<quint16>(TestImages::tagWord(d, w) ^ salt);
}
