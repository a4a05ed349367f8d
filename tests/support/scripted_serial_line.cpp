#include "support/scripted_serial_line.h"

bool ScriptedSerialLine::open()
{
    if (open_ || opens_ >= opensAllowed)
        return false;
    ++opens_;
    open_ = true;
    return true;
}

void ScriptedSerialLine::close()
{
    // Nobody listens while the port is closed.
    open_ = false;
    onTheWire_.clear();
    received_.clear();
}

QString ScriptedSerialLine::errorText() const
{
    return open_ ? QString() : QStringLiteral("scripted port refused");
}

// The controller's framing: "j" and "ns" stand alone, "no.." and "nr.." end with CR.
bool ScriptedSerialLine::send(const QByteArray &bytes)
{
    if (!open_) {
        ++sendsWhileClosed;
        return false;
    }
    unparsed += bytes;
    for (;;) {
        qsizetype length = 0;
        if (unparsed.startsWith('j'))
            length = 1;
        else if (unparsed.startsWith("ns"))
            length = 2;
        else if (unparsed.startsWith("no") || unparsed.startsWith("nr"))
            length = unparsed.indexOf('\r') + 1;
        if (length <= 0)
            return true;
        const QByteArray command = unparsed.left(length);
        unparsed.remove(0, length);
        commands << command;
        (answersOnSend ? received_ : onTheWire_) += answer ? answer(command) : QByteArray();
    }
}

QByteArray ScriptedSerialLine::readAll()
{
    QByteArray all;
    all.swap(received_);
    return all;
}

void ScriptedSerialLine::waitForInput(int)
{
    const qsizetype size = chunkSize > 0 ? chunkSize : onTheWire_.size();
    received_ += onTheWire_.left(size);
    onTheWire_.remove(0, size);
}
