// Any bytes taken as the switch's answer to a bulk read, a presence probe and a register read.
#include "link/wire_protocol.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace WireProtocol;
    const QByteArray answer =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<DeviceWords> words = bulkAnswerWords(answer)) {
        QByteArray digits;
        for (quint16 word : *words)
            digits += QByteArray::number(word, 16).toUpper().rightJustified(4, '0');
        if (digits != answer.mid(kBulkAnswerHeaderBytes, digits.size()))
            std::abort();
        for (char byte : answer.mid(kBulkAnswerBytes)) {
            if (byte != '\r' && byte != '\n' && byte != '\0')
                std::abort();
        }
    }
    for (int devices : {3, 4}) {
        const PresenceStatus status = presenceStatus(answer, devices);
        if (status.missingDevices >> devices != 0)
            std::abort();
    }
    if (registerAnswerValue(answer).has_value() != (answer.size() >= kRegisterAnswerBytes))
        std::abort();
    return 0;
}
