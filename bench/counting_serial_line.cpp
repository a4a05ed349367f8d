#include "counting_serial_line.h"

void CountingSerialLine::close()
{
    // Input still buffered crossed the line all the same; closing drops it.
    if (inner_.isOpen())
        received_ += inner_.bytesAvailable();
    inner_.close();
}

bool CountingSerialLine::send(const QByteArray &bytes)
{
    const bool sent = inner_.send(bytes);
    if (sent)
        sent_ += bytes.size();
    return sent;
}

QByteArray CountingSerialLine::readAll()
{
    QByteArray bytes = inner_.readAll();
    received_ += bytes.size();
    return bytes;
}

void CountingSerialLine::discardInput()
{
    received_ += inner_.bytesAvailable();
    inner_.discardInput();
}
