#include "support/scripted_serial_line.h"

void ScriptedSerialLine::close()
{
    // Nobody listens while the port is closed.
    open_ = false;
    onTheWire_.clear();
    received_.clear();
}

bool ScriptedSerialLine::send(const QByteArray &bytes)
{
    if (!open_)
        return false;
    if (!received_.isEmpty())
        ++sendsOverUnreadInput;
    commands << bytes;
    (answersOnSend ? received_ : onTheWire_) += answer ? answer(bytes) : QByteArray();
    return true;
}

void ScriptedSerialLine::waitForInput(int)
{
    const qsizetype size = chunkSize > 0 ? chunkSize : onTheWire_.size();
    received_ += onTheWire_.left(size);
    onTheWire_.remove(0, size);
}
