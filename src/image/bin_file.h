#pragma once

#include "image/image_state.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The *.bin configuration file: the raw EEPROM of each device the model has, 256 bytes per device,
// words high byte first, no header.
namespace BinFile
{

constexpr int kBlockBytes = 256;
constexpr quint16 kSignatureMask = 0x1FF0;
constexpr quint16 kSignature = 0x1810;
constexpr int kModelWord = 11;

inline const char *const kFilter = "Binary File (*.bin)|*.bin";
inline const char *const kContentsError = " Binary File Contents Error ! ";

// 768 bytes for the 24-port model, 1024 for the two models with a module device.
int fileSizeFor(int model);

QByteArray encode(const ImageWords &image, int model);

// The blocks the model needs, laid over `base`: bytes missing from a short file read as zero,
// anything past the model's blocks is ignored, device 3 keeps `base` on the 24-port model.
// Only fromBytes decides whether such a file is a configuration.
// Bit 15 of word 0 is cleared on every device.
ImageWords decode(const QByteArray &bytes, int model, const ImageWords &base);

enum class Verdict { Accepted, ContentsError, WrongModel };

// Signature of devices 0..2, then the model word.
Verdict check(const ImageWords &image, int model);
// The message shown for a rejected image; empty for an accepted one.
QString verdictMessage(Verdict verdict, int model);

struct Loaded {
    std::optional<ImageWords> image;   // set when the file was read and accepted
    QString error;                     // otherwise what to tell the user
    std::optional<int> fileModel = {}; // of a file of another model: the model its word names
};

// A file's bytes, decoded over `base` and checked: the signature, the model word, then the
// length. A file shorter than the model's blocks is refused with the contents message: its
// missing words would otherwise be programmed as zeros.
Loaded fromBytes(const QByteArray &bytes, int model, const ImageWords &base);
// Reads a file and takes it as fromBytes does.
Loaded load(const QString &path, int model, const ImageWords &base);

struct Read {
    std::optional<QByteArray> bytes; // set when the file could be read
    QString error;                   // otherwise the open message, with the reason
};
// At most `limit` bytes of a regular file.
Read readFile(const QString &path, qint64 limit);
// The model a file's model word (device 0) names; nothing when it names none or the file is
// too short to hold it.
std::optional<int> modelNamedIn(const QByteArray &bytes);

// Writes the model's blocks atomically: on failure the old file stays as it was.
// Returns the message to show, or nothing on success.
std::optional<QString> save(const QString &path, const ImageWords &image, int model);

QString openErrorMessage(const QString &path, const QString &reason);
QString saveErrorMessage(const QString &path, const QString &reason);

} // namespace BinFile
