#pragma once

#include "link/serial_line.h"

// Passes everything to another line and counts the bytes that crossed it: those handed to the
// driver, and those received, whether the link read them or dropped them unread.
class CountingSerialLine : public SerialLine
{
public:
    explicit CountingSerialLine(SerialLine &inner) : inner_(inner) {}

    bool open() override { return inner_.open(); }
    void close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    QString errorText() const override { return inner_.errorText(); }
    bool send(const QByteArray &bytes) override;
    qint64 bytesAvailable() override { return inner_.bytesAvailable(); }
    QByteArray readAll() override;
    void discardInput() override;
    void waitForInput(int maxMicros) override { inner_.waitForInput(maxMicros); }

    qint64 bytesSent() const { return sent_; }
    qint64 bytesReceived() const { return received_; }
    void resetCounts() { sent_ = received_ = 0; }

private:
    SerialLine &inner_;
    qint64 sent_ = 0;
    qint64 received_ = 0;
};
