#include "cli_options.h"

#include "cli_texts.h"
#include "image/device_models.h"
#include "link/com_ports.h"
#include "link/transports.h"
#include "several_ports.h"

#include <QCommandLineParser>

#include <algorithm>
#include <vector>

namespace
{

struct CommandName {
    const char *name;
    CliCommand command;
};
const CommandName kCommands[] = {{"read", CliCommand::Read}, {"write", CliCommand::Write},
                                 {"show", CliCommand::Show}, {"apply", CliCommand::Apply},
                                 {"diff", CliCommand::Diff}, {"ports", CliCommand::Ports}};

QString helpFor(CliCommand command)
{
    switch (command) {
    case CliCommand::Read:
        return CliTexts::readHelp();
    case CliCommand::Write:
        return CliTexts::writeHelp();
    case CliCommand::Show:
        return CliTexts::showHelp();
    case CliCommand::Apply:
        return CliTexts::applyHelp();
    case CliCommand::Diff:
        return CliTexts::diffHelp();
    case CliCommand::Ports:
        return CliTexts::portsHelp();
    }
    return CliTexts::mainHelp();
}

ParsedCommandLine usageError(const QString &error, const QString &command)
{
    ParsedCommandLine parsed;
    parsed.error = error;
    parsed.hint = CliTexts::tryHelp(command);
    return parsed;
}

ParsedCommandLine help(const QString &text)
{
    ParsedCommandLine parsed;
    parsed.helpRequested = true;
    parsed.helpText = text;
    return parsed;
}

// "COM1".."COM8" (any case), a device path (made absolute) or a device name: the device it
// names. Nothing for an empty argument or a COM name out of range.
std::optional<QString> deviceForPortArgument(const QString &argument)
{
    if (argument.trimmed().isEmpty())
        return std::nullopt;
    if (isComNameOutOfRange(argument))
        return std::nullopt;
    return serialDeviceForArgument(argument);
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return usageError(CliTexts::noCommand(), QString());
    const QString first = arguments.at(1);
    if (first == QLatin1String("-h") || first == QLatin1String("--help") ||
        first == QLatin1String("help"))
        return help(CliTexts::mainHelp());
    if (first == QLatin1String("--version")) {
        ParsedCommandLine parsed;
        parsed.versionRequested = true;
        return parsed;
    }
    const auto *named = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [&first](const CommandName &c) { return first == c.name; });
    if (named == std::end(kCommands)) {
        return usageError(first.startsWith(QLatin1Char('-')) ? CliTexts::commandFirst(first)
                                                             : CliTexts::unknownCommand(first),
                          QString());
    }
    CliOptions options;
    options.command = named->command;
    const bool onLine = options.command == CliCommand::Read || options.command == CliCommand::Write;
    const bool saves = options.command == CliCommand::Read || options.command == CliCommand::Apply;
    const bool prints = options.command == CliCommand::Show || options.command == CliCommand::Diff;
    const bool applies = options.command == CliCommand::Apply;
    const bool writes = options.command == CliCommand::Write;
    const bool listsPorts = options.command == CliCommand::Ports;

    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption modelOption(QStringList{QStringLiteral("m"), QStringLiteral("model")},
                                         QString(), QStringLiteral("M"));
    const QCommandLineOption portOption(QStringList{QStringLiteral("p"), QStringLiteral("port")},
                                        QString(), QStringLiteral("P"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
        QStringLiteral("FILE.bin"));
    const QCommandLineOption configOption(
        QStringList{QStringLiteral("c"), QStringLiteral("config")}, QString(),
        QStringLiteral("CONFIG.json"));
    const QCommandLineOption inOption(QStringLiteral("in"), QString(), QStringLiteral("FILE.bin"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption changedOnlyOption(QStringLiteral("changed-only"));
    const QCommandLineOption backupOption(QStringLiteral("backup"), QString(),
                                          QStringLiteral("FILE.bin"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"));
    parser.addOption(helpOption);
    // The options that take one value each, as this command has them.
    std::vector<const QCommandLineOption *> singleValued;
    if (!listsPorts)
        singleValued.push_back(&modelOption);
    if (onLine)
        parser.addOption(portOption); // one port or several
    if (saves)
        singleValued.push_back(&outputOption);
    if (applies)
        singleValued.insert(singleValued.end(), {&configOption, &inOption});
    if (writes)
        singleValued.insert(singleValued.end(), {&configOption, &backupOption});
    for (const QCommandLineOption *option : singleValued)
        parser.addOption(*option);
    if (prints || listsPorts || onLine)
        parser.addOption(jsonOption);
    if (writes) {
        parser.addOption(changedOnlyOption);
        parser.addOption(dryRunOption);
    }

    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.at(0));
    if (!parser.parse(rest))
        return usageError(parser.errorText(), first);
    if (parser.isSet(helpOption))
        return help(helpFor(options.command));
    // An option that takes one value, given twice, is a mistake to point out, not to guess at.
    for (const QCommandLineOption *option : singleValued) {
        if (parser.values(*option).size() > 1)
            return usageError(CliTexts::repeatedOption(option->names().constLast()), first);
    }

    // Only the switch cannot say its model; a file and a document can.
    if (!listsPorts && parser.isSet(modelOption)) {
        const std::optional<int> model = modelForName(parser.value(modelOption));
        if (!model)
            return usageError(CliTexts::badModel(parser.value(modelOption)), first);
        options.model = *model;
    } else if (onLine) {
        return usageError(CliTexts::missingOption(QStringLiteral("--model M")), first);
    } else {
        options.modelFromFile = !listsPorts;
    }

    if (onLine) {
        if (!parser.isSet(portOption))
            return usageError(CliTexts::missingOption(QStringLiteral("--port P")), first);
        for (const QString &value : parser.values(portOption))
            options.portArguments += value.split(QLatin1Char(','));
        for (const QString &argument : qAsConst(options.portArguments)) {
            const QString problem = transportFor(argument).read(argument).problem;
            if (!problem.isEmpty())
                return usageError(CliTexts::badPort(argument, problem), first);
            const std::optional<QString> device = deviceForPortArgument(argument);
            if (!device)
                return usageError(CliTexts::badPort(argument), first);
            options.devices << *device;
        }
        options.device = options.devices.first();
    }
    if (applies) {
        options.configPath = parser.value(configOption);
        if (options.configPath.isEmpty())
            return usageError(CliTexts::missingOption(QStringLiteral("--config CONFIG.json")),
                              first);
        options.inputPath = parser.value(inOption);
        if (parser.isSet(inOption) && options.inputPath.isEmpty())
            return usageError(CliTexts::missingOption(QStringLiteral("FILE.bin after --in")),
                              first);
    }
    if (saves) {
        options.filePath = parser.value(outputOption);
        if (options.filePath.isEmpty())
            return usageError(CliTexts::missingOption(QStringLiteral("-o FILE.bin")), first);
    }
    options.json = (prints || listsPorts || onLine) && parser.isSet(jsonOption);
    options.changedOnly = writes && parser.isSet(changedOnlyOption);
    const bool writesDocument = writes && parser.isSet(configOption);
    if (writes) {
        // They need what the switch holds, which only a changed-only write reads first.
        for (const QCommandLineOption *option : {&configOption, &backupOption, &dryRunOption}) {
            if (parser.isSet(*option) && !options.changedOnly)
                return usageError(CliTexts::needsChangedOnly(option->names().constLast()), first);
        }
        options.configPath = parser.value(configOption);
        options.backupPath = parser.value(backupOption);
        options.dryRun = parser.isSet(dryRunOption);
        if (writesDocument && options.configPath.isEmpty())
            return usageError(CliTexts::missingOption(QStringLiteral("CONFIG.json after --config")),
                              first);
        if (parser.isSet(backupOption) && options.backupPath.isEmpty())
            return usageError(CliTexts::missingOption(QStringLiteral("FILE.bin after --backup")),
                              first);
    }

    // The files named on the line: one to write or show, two to compare.
    QStringList positional = parser.positionalArguments();
    if (writesDocument && !positional.isEmpty())
        return usageError(CliTexts::fileAndDocument(positional.first()), first);
    const int files = saves || listsPorts || writesDocument ? 0
                      : options.command == CliCommand::Diff ? 2
                                                            : 1;
    for (int i = 0; i < files; ++i) {
        if (positional.isEmpty() || positional.first().isEmpty())
            return usageError(
                CliTexts::missingOption(options.command == CliCommand::Write
                                            ? QStringLiteral("FILE.bin to write")
                                        : options.command == CliCommand::Show
                                            ? QStringLiteral("FILE.bin to show")
                                            : QStringLiteral("A.bin and B.bin to compare")),
                first);
        (i == 0 ? options.filePath : options.otherPath) = positional.takeFirst();
    }
    if (!positional.isEmpty())
        return usageError(CliTexts::unexpectedArguments(positional.join(QLatin1Char(' '))), first);
    // Standard input holds one file or one document.
    const QStringList inputs =
        saves ? QStringList{options.configPath, options.inputPath}
              : QStringList{options.filePath, options.otherPath, options.configPath};
    if (inputs.count(QStringLiteral("-")) > 1)
        return usageError(CliTexts::standardInputTwice(), first);
    if (onLine) {
        if (const std::optional<QString> refusal = SeveralPorts::settle(options))
            return usageError(*refusal, first);
    }

    ParsedCommandLine parsed;
    parsed.options = options;
    return parsed;
}
