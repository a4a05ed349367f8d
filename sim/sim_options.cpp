#include "sim_options.h"
#include "sim_usage.h"

#include "image/device_models.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cctype>
#include <vector>

namespace
{

using Faults::CorruptWord;
using Faults::ProbeFault;
using Faults::ReadFault;

struct Parsing {
    QString error;

    bool fail(const QString &text)
    {
        if (error.isEmpty())
            error = text;
        return false;
    }

    std::optional<int> integer(const QString &text, int low, int high, const QString &what)
    {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < low || value > high) {
            fail(QStringLiteral("%1: \"%2\" is not a number from %3 to %4")
                     .arg(what, text)
                     .arg(low)
                     .arg(high));
            return std::nullopt;
        }
        return value;
    }

    // A comma-separated list of such numbers; nothing once one of them is not.
    std::optional<std::vector<int>> integers(const QString &text, int low, int high,
                                             const QString &what)
    {
        std::vector<int> values;
        for (const QString &item : text.split(QLatin1Char(','))) {
            const std::optional<int> value = integer(item.trimmed(), low, high, what);
            if (!value)
                return std::nullopt;
            values.push_back(*value);
        }
        return values;
    }
};

bool parseMissing(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    const auto devices = p.integers(text, 0, 3, QStringLiteral("--missing"));
    for (const int device : devices.value_or(std::vector<int>{}))
        faults.missing[static_cast<std::size_t>(device)] = true;
    return devices.has_value();
}

bool parseModuleCodes(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    const auto codes = p.integers(text, 0, 255, QStringLiteral("--module-codes"));
    for (const int code : codes.value_or(std::vector<int>{}))
        faults.moduleCodes.push_back(code);
    return codes.has_value();
}

bool parseProbeFault(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const QString kind = parts.value(0);
    if (kind == QLatin1String("silent"))
        faults.probeFault = ProbeFault::Silent;
    else if (kind == QLatin1String("short"))
        faults.probeFault = ProbeFault::Short;
    else if (kind == QLatin1String("long"))
        faults.probeFault = ProbeFault::Long;
    else if (kind == QLatin1String("garbled"))
        faults.probeFault = ProbeFault::Garbled;
    else
        return p.fail(QStringLiteral("--probe-fault: unknown kind \"%1\"").arg(kind));
    if (parts.size() > 2)
        return p.fail(QStringLiteral("--probe-fault: expected KIND[:N], got \"%1\"").arg(text));
    if (parts.size() == 2) {
        faults.probeFaultTimes =
            p.integer(parts[1], 1, 1000000, QStringLiteral("--probe-fault count"));
        return faults.probeFaultTimes.has_value();
    }
    return true;
}

bool parseReadFault(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return p.fail(QStringLiteral("--read-fault: expected DEV:KIND[:N], got \"%1\"").arg(text));
    const auto device = p.integer(parts[0], 0, 3, QStringLiteral("--read-fault device"));
    if (!device)
        return false;
    Faults::ReadFaultRule rule;
    if (parts[1] == QLatin1String("short"))
        rule.kind = ReadFault::Short;
    else if (parts[1] == QLatin1String("nonhex"))
        rule.kind = ReadFault::NonHex;
    else
        return p.fail(QStringLiteral("--read-fault: unknown kind \"%1\"").arg(parts[1]));
    if (parts.size() == 3) {
        rule.times = p.integer(parts[2], 1, 1000000, QStringLiteral("--read-fault count"));
        if (!rule.times)
            return false;
    }
    faults.readFaults[static_cast<std::size_t>(*device)] = rule;
    return true;
}

bool parseCorruptWord(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return p.fail(
            QStringLiteral("--corrupt-word: expected DEV:WORD[:V], got \"%1\"").arg(text));
    const auto device = p.integer(parts[0], 0, 3, QStringLiteral("--corrupt-word device"));
    const auto word = p.integer(parts[1], 0, 127, QStringLiteral("--corrupt-word word"));
    if (!device || !word)
        return false;
    CorruptWord corrupt{*device, *word, std::nullopt};
    if (parts.size() == 3) {
        const auto value = p.integer(parts[2], 0, 65535, QStringLiteral("--corrupt-word value"));
        if (!value)
            return false;
        corrupt.value = static_cast<quint16>(*value);
    }
    faults.corruptWords.push_back(corrupt);
    return true;
}

bool parseWriteAnswers(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    QString list = text;
    faults.repeatLastWriteAnswer = list.endsWith(QLatin1Char('+'));
    if (faults.repeatLastWriteAnswer)
        list.chop(1);
    const auto lengths = p.integers(list, 11, 200, QStringLiteral("--write-answers"));
    faults.writeAnswerLengths = lengths.value_or(std::vector<int>{});
    return lengths.has_value();
}

bool parseReadTrailer(Parsing &p, const QString &text, Faults::FaultPlan &faults)
{
    const QByteArray hex = text.toLatin1();
    const bool digits = std::all_of(hex.begin(), hex.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (hex.isEmpty() || hex.size() % 2 != 0 || hex.size() > 128 || !digits)
        return p.fail(
            QStringLiteral("--read-trailer: \"%1\" is not 1 to 64 bytes in hex").arg(text));
    faults.readTrailer = QByteArray::fromHex(hex);
    return true;
}

bool parseBurst(Parsing &p, const QString &text, SimOptions &options)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 2)
        return p.fail(QStringLiteral("--burst: expected GAP[:LEN], got \"%1\"").arg(text));
    const auto gap = p.integer(parts[0], 1, 1000, QStringLiteral("--burst gap"));
    const auto bytes =
        parts.size() == 2 ? p.integer(parts[1], 1, 4096, QStringLiteral("--burst length")) : 64;
    if (!gap || !bytes)
        return false;
    options.burstGapMs = *gap;
    options.burstBytes = *bytes;
    return true;
}

} // namespace

ParsedOptions parseSimOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kSimDescription));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption model(QStringLiteral("model"),
                                   QStringLiteral("Switch model: 24 or 0 (24 Port N-Way, devices "
                                                  "0..2), 24sx or 1 (24 Port 1000Base-SX, devices "
                                                  "0..3, module code 6) or 32 or 2 (32 Port, "
                                                  "devices 0..3, module code 3). Default 24sx."),
                                   QStringLiteral("24|24sx|32"), QStringLiteral("1"));
    const QCommandLineOption image(QStringLiteral("image"),
                                   QStringLiteral("Starts the EEPROMs from this *.bin file (the "
                                                  "model's size) instead of the factory image."),
                                   QStringLiteral("file.bin"));
    const QCommandLineOption writeFactory(
        QStringLiteral("write-factory"),
        QStringLiteral("Writes the factory image of the model to this file and exits."),
        QStringLiteral("file.bin"));
    const QCommandLineOption state(QStringLiteral("state"),
                                   QStringLiteral("Rewrites this file (atomically) with the EEPROM "
                                                  "image at start and after every change."),
                                   QStringLiteral("file.bin"));
    const QCommandLineOption log(
        QStringLiteral("log"),
        QStringLiteral("Writes one line per command received to this file: \"write D S AAA "
                       "VALUE\", \"read D S AAA COUNT\", \"probe\", \"reset\", and "
                       "\"skipped N\" for stray bytes. A note follows a command that was not "
                       "carried out as sent (dropped, missing, invalid, stored V) or whose answer "
                       "was spoiled (silent, short, long, garbled, nonhex)."),
        QStringLiteral("file"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Makes a symbolic link to the pseudo-terminal "
                                                 "here (removed on exit)."),
                                  QStringLiteral("path"));
    const QCommandLineOption pace(QStringLiteral("pace"),
                                  QStringLiteral("Takes and sends bytes at 9600 baud (10 bits a "
                                                 "byte) instead of at once."));
    const QCommandLineOption exitOnStdinEnd(
        QStringLiteral("exit-on-stdin-end"),
        QStringLiteral("Ends when standard input reaches its end (for a parent that may die "
                       "without stopping the simulator)."));
    const QCommandLineOption missing(QStringLiteral("missing"),
                                     QStringLiteral("Devices that are absent."),
                                     QStringLiteral("devices"));
    const QCommandLineOption moduleCodes(QStringLiteral("module-codes"),
                                         QStringLiteral("Module codes read from register 115 of "
                                                        "device 3, in turn."),
                                         QStringLiteral("codes"));
    const QCommandLineOption probeFault(QStringLiteral("probe-fault"),
                                        QStringLiteral("Spoils probe answers."),
                                        QStringLiteral("kind[:n]"));
    const QCommandLineOption readFault(QStringLiteral("read-fault"),
                                       QStringLiteral("Spoils EEPROM read answers of a device."),
                                       QStringLiteral("dev:kind[:n]"));
    const QCommandLineOption dropAfterWrites(QStringLiteral("drop-after-writes"),
                                             QStringLiteral("Line goes dead after N word writes."),
                                             QStringLiteral("n"));
    const QCommandLineOption dropCommands(QStringLiteral("drop-commands"),
                                          QStringLiteral("Line comes back after M dead commands."),
                                          QStringLiteral("m"));
    const QCommandLineOption floodAfterWrites(QStringLiteral("flood-after-writes"),
                                              QStringLiteral("Junk without end after N word "
                                                             "writes."),
                                              QStringLiteral("n"));
    const QCommandLineOption vanishAfter(QStringLiteral("vanish-after"),
                                         QStringLiteral("Vanishes after answering command N."),
                                         QStringLiteral("n"));
    const QCommandLineOption noise(QStringLiteral("noise"),
                                   QStringLiteral("Junk bytes on the line all the time."));
    const QCommandLineOption trickle(QStringLiteral("trickle"),
                                     QStringLiteral("Answers a byte at a time, MS ms apart."),
                                     QStringLiteral("ms"));
    const QCommandLineOption writeAnswers(QStringLiteral("write-answers"),
                                          QStringLiteral("Word write answer lengths in turn."),
                                          QStringLiteral("lengths"));
    const QCommandLineOption readTrailer(QStringLiteral("read-trailer"),
                                         QStringLiteral("Bytes after each EEPROM read's answer."),
                                         QStringLiteral("hex"));
    const QCommandLineOption burst(QStringLiteral("burst"),
                                   QStringLiteral("Hands answers over in bursts."),
                                   QStringLiteral("gap[:len]"));
    const QCommandLineOption answerDelay(QStringLiteral("answer-delay"),
                                         QStringLiteral("Starts answers this much later."),
                                         QStringLiteral("us"));
    const QCommandLineOption corruptWord(QStringLiteral("corrupt-word"),
                                         QStringLiteral("Stores another value in an EEPROM "
                                                        "word."),
                                         QStringLiteral("dev:word[:v]"));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version."));
    parser.addOptions({help,         model,       image,     writeFactory,    state,
                       log,          link,        pace,      exitOnStdinEnd,  missing,
                       moduleCodes,  probeFault,  readFault, dropAfterWrites, dropCommands,
                       corruptWord,  vanishAfter, noise,     trickle,         floodAfterWrites,
                       writeAnswers, readTrailer, burst,     answerDelay});
    parser.addOption(version);

    ParsedOptions result;
    result.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("unexpected argument \"%1\"")
                           .arg(parser.positionalArguments().constFirst());
        return result;
    }
    if (parser.isSet(help)) {
        result.helpRequested = true;
        return result;
    }
    if (parser.isSet(version)) {
        result.versionRequested = true;
        return result;
    }

    Parsing p;
    SimOptions options;
    if (const std::optional<int> named = modelForName(parser.value(model)))
        options.model = *named;
    else
        p.fail(QStringLiteral("--model: \"%1\" is not 24, 24sx or 32 (or 0, 1, 2)")
                   .arg(parser.value(model)));
    options.imagePath = parser.value(image);
    options.writeFactoryPath = parser.value(writeFactory);
    options.statePath = parser.value(state);
    options.logPath = parser.value(log);
    options.linkPath = parser.value(link);
    options.paced = parser.isSet(pace);
    options.exitOnStdinEnd = parser.isSet(exitOnStdinEnd);
    if (parser.isSet(vanishAfter))
        options.vanishAfter =
            p.integer(parser.value(vanishAfter), 1, 1000000, QStringLiteral("--vanish-after"))
                .value_or(0);
    options.noise = parser.isSet(noise);
    if (parser.isSet(trickle))
        options.trickleMs =
            p.integer(parser.value(trickle), 1, 1000, QStringLiteral("--trickle")).value_or(0);

    if (parser.isSet(burst))
        parseBurst(p, parser.value(burst), options);
    if (parser.isSet(answerDelay))
        options.answerDelayMicros =
            p.integer(parser.value(answerDelay), 0, 100000, QStringLiteral("--answer-delay"))
                .value_or(0);

    Faults::FaultPlan &faults = options.faults;
    if (parser.isSet(writeAnswers))
        parseWriteAnswers(p, parser.value(writeAnswers), faults);
    if (parser.isSet(readTrailer))
        parseReadTrailer(p, parser.value(readTrailer), faults);
    for (const QString &value : parser.values(missing))
        parseMissing(p, value, faults);
    for (const QString &value : parser.values(moduleCodes))
        parseModuleCodes(p, value, faults);
    if (parser.isSet(probeFault))
        parseProbeFault(p, parser.value(probeFault), faults);
    for (const QString &value : parser.values(readFault))
        parseReadFault(p, value, faults);
    if (parser.isSet(dropAfterWrites))
        faults.dropAfterWrites = p.integer(parser.value(dropAfterWrites), 0, 1000000,
                                           QStringLiteral("--drop-after-writes"));
    if (parser.isSet(dropCommands)) {
        faults.dropCommands =
            p.integer(parser.value(dropCommands), 1, 1000000, QStringLiteral("--drop-commands"));
        if (!parser.isSet(dropAfterWrites))
            p.fail(QStringLiteral("--drop-commands needs --drop-after-writes"));
    }
    for (const QString &value : parser.values(corruptWord))
        parseCorruptWord(p, value, faults);
    if (parser.isSet(floodAfterWrites))
        faults.floodAfterWrites = p.integer(parser.value(floodAfterWrites), 0, 1000000,
                                            QStringLiteral("--flood-after-writes"));

    if (!p.error.isEmpty()) {
        result.error = p.error;
        return result;
    }
    result.options = options;
    return result;
}
