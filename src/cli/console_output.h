#pragma once

#include <QByteArray>

#include <cstdio>

// What swcfgctl puts on its standard streams, drawn and written the same way by every part.

// Writes all of `bytes` to `stream` and flushes it: 0, or the error number when either failed
// (EIO when the system named none).
int writeStream(std::FILE *stream, const QByteArray &bytes);

// At most `limit` bytes of standard input, read to its end or the limit.
QByteArray readStandardInput(qint64 limit);

// A command's progress, 0 to 100 %, as a bar of fixed width: "[################.......]".
QByteArray progressBar(int value);
