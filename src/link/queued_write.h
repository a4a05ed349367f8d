#pragma once

#include <QByteArray>

class QIODevice;

// Far longer than a command needs to leave at 9600 baud; only a stuck driver or connection gets
// near it.
constexpr int kSendTimeoutMs = 2000;

// Hands `bytes` to `device` and waits until they left it: write() only queues them, and an
// answer must not be awaited before its command is out. False when the device refused them or
// did not let them go in time; the device's errorString() says why.
bool writeAndDrain(QIODevice &device, const QByteArray &bytes, int timeoutMs = kSendTimeoutMs);
