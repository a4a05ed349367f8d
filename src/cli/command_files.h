#pragma once

#include "cli_commands.h"
#include "image/image_state.h"

#include <QJsonObject>
#include <QString>

#include <optional>

// The files and standard streams swcfgctl's commands read and write. Every message about a file
// starts with the file's name, then the system's text whole: "a.bin:  Error ! This is not
// 24-Port,1000SX Binary File ! ", "a.bin: File Open Error !" and the reason on the next line.
namespace CommandFiles
{

// "-" as a file: standard input for a document, standard output for an image.
inline const char *const kStandardStream = "-";
bool isStandardStream(const QString &path);

// The message `message` (the window's words) about the file `path`, as swcfgctl says it.
QString aboutFile(const QString &path, const QString &message);

struct Loaded {
    std::optional<ImageWords> image; // set when the file was read and accepted
    int model = 0;                   // the model it was checked for
    QString error;                   // otherwise what to say
};
// Reads and checks `path` ("-": standard input through `input`) as the window's Open does, for
// `model`; without one, for the model its model word names (the contents message when it names
// none).
Loaded load(const QString &path, std::optional<int> model, const InputSource &input);

// Whether an image can be saved at `path`, before minutes of transfer are spent on one that would
// then be lost; leaves no trace on disk. Standard output is tried when it is written.
std::optional<QString> tryOutput(const QString &path);
// Saves atomically, or sends the image to `output` for "-". Returns the message, if any.
std::optional<QString> save(const QString &path, const ImageWords &image, int model,
                            const OutputSink &output);

// The configuration document at `path` ("-": standard input through services.input) as a JSON
// object; refusals are reported through services.messages.
std::optional<QJsonObject> readDocument(const QString &path, const CommandServices &services);
// The model the document's "model" names exactly ("24", "24sx", "32").
std::optional<int> documentModel(const QJsonObject &document);
// How messages name `path` as an input: "-" is standard input.
QString inputName(const QString &path);

} // namespace CommandFiles
