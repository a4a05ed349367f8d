#pragma once

#include "image/module1.h"
#include "link/link_progress.h"
#include "support/scripted_serial_line.h"

#include <QList>
#include <QStringList>

// The far end of the line: four devices present, EEPROMs that keep what is written, and the
// module register. It parses the commands itself, so a fault in the link's encoding shows.
struct FakeSwitch {
    ImageWords eeprom{};
    QList<int> moduleCodes{6}; // successive readings of the module register; the last repeats
    std::function<bool(const QByteArray &)> ignores; // commands neither done nor answered
    int moduleReads = 0;

    QByteArray answer(const QByteArray &command)
    {
        if (ignores && ignores(command))
            return {};
        const auto field = [&](int from, int length) { return command.mid(from, length).toInt(); };
        DeviceWords &words = eeprom.at(field(2, 1));
        if (command == "ns")
            return QByteArray("ns\0\1\2\3", 6);
        if (command.startsWith("no")) {
            if (field(3, 1) == 0)
                words[field(4, 3) / 2] = static_cast<quint16>(field(7, 3) * 256 + field(10, 3));
            return command.left(13);
        }
        if (command == "nr31115001\r") {
            ++moduleReads;
            return "nr310" + QByteArray::number(moduleCodes.size() > 1 ? moduleCodes.takeFirst()
                                                                       : moduleCodes.first());
        }
        if (!command.startsWith("nr") || !command.endsWith("0000256\r"))
            return {};
        QByteArray reply = command.left(4);
        for (quint16 word : words)
            reply += QByteArray::number(word, 16).toUpper().rightJustified(4, '0');
        return reply;
    }
};

// The switch on a scripted line with a virtual clock, and a Module1 to work on.
struct LinkRig {
    LinkRig()
    {
        module.applyStartupDefaults();
        line.answer = [this](const QByteArray &command) { return device.answer(command); };
    }
    // One entry per change of the bar: "5" while shown, "-5" once hidden at 5.
    ProgressCallback recordProgress()
    {
        return [this](const ProgressState &state) {
            progress << (state.visible ? "" : "-") + QString::number(state.value);
        };
    }

    Module1 module;
    FakeSwitch device;
    ScriptedSerialLine line;
    VirtualLinkClock clock;
    QStringList progress;
};
