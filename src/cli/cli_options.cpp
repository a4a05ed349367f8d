#include "cli_options.h"

#include "cli_texts.h"
#include "image/device_models.h"
#include "link/com_ports.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace
{

const QString kReadName = QStringLiteral("read");
const QString kWriteName = QStringLiteral("write");

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

} // namespace

std::optional<int> modelForArgument(const QString &argument)
{
    const QString name = argument.toLower();
    if (name == QLatin1String("24") || name == QLatin1String("0"))
        return Model24NWay;
    if (name == QLatin1String("24sx") || name == QLatin1String("1"))
        return Model24Sx;
    if (name == QLatin1String("32") || name == QLatin1String("2"))
        return Model32NWay;
    return std::nullopt;
}

std::optional<QString> deviceForPortArgument(const QString &argument)
{
    if (argument.trimmed().isEmpty())
        return std::nullopt;
    // COM9 and the like look like a port of the list, not like a path: a typing error.
    static const QRegularExpression comName(QStringLiteral("^COM(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(argument);
    if (match.hasMatch()) {
        const int number = match.captured(1).toInt();
        if (number < kFirstComPort || number > kLastComPort)
            return std::nullopt;
    }
    return serialDeviceForArgument(argument);
}

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return usageError(CliTexts::noCommand(), QString());
    const QString first = arguments.at(1);
    if (first == QLatin1String("-h") || first == QLatin1String("--help") ||
        first == QLatin1String("help"))
        return help(CliTexts::mainHelp());
    if (first != kReadName && first != kWriteName) {
        return usageError(first.startsWith(QLatin1Char('-')) ? CliTexts::commandFirst(first)
                                                             : CliTexts::unknownCommand(first),
                          QString());
    }
    const bool read = first == kReadName;

    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption modelOption(QStringList{QStringLiteral("m"), QStringLiteral("model")},
                                         QString(), QStringLiteral("M"));
    const QCommandLineOption portOption(QStringList{QStringLiteral("p"), QStringLiteral("port")},
                                        QString(), QStringLiteral("P"));
    const QCommandLineOption outputOption(
        QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
        QStringLiteral("FILE.bin"));
    parser.addOption(helpOption);
    parser.addOption(modelOption);
    parser.addOption(portOption);
    if (read)
        parser.addOption(outputOption);

    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.at(0));
    if (!parser.parse(rest))
        return usageError(parser.errorText(), first);
    if (parser.isSet(helpOption))
        return help(read ? CliTexts::readHelp() : CliTexts::writeHelp());

    CliOptions options;
    options.command = read ? CliCommand::Read : CliCommand::Write;

    if (!parser.isSet(modelOption))
        return usageError(CliTexts::missingOption(QStringLiteral("--model M")), first);
    const std::optional<int> model = modelForArgument(parser.value(modelOption));
    if (!model)
        return usageError(CliTexts::badModel(parser.value(modelOption)), first);
    options.model = *model;

    if (!parser.isSet(portOption))
        return usageError(CliTexts::missingOption(QStringLiteral("--port P")), first);
    options.portArgument = parser.value(portOption);
    const std::optional<QString> device = deviceForPortArgument(options.portArgument);
    if (!device)
        return usageError(CliTexts::badPort(options.portArgument), first);
    options.device = *device;

    QStringList positional = parser.positionalArguments();
    if (read) {
        options.filePath = parser.value(outputOption);
        if (options.filePath.isEmpty())
            return usageError(CliTexts::missingOption(QStringLiteral("-o FILE.bin")), first);
    } else {
        if (positional.isEmpty() || positional.first().isEmpty())
            return usageError(CliTexts::missingInputFile(), first);
        options.filePath = positional.takeFirst();
    }
    if (!positional.isEmpty())
        return usageError(CliTexts::unexpectedArguments(positional.join(QLatin1Char(' '))), first);

    ParsedCommandLine parsed;
    parsed.options = options;
    return parsed;
}
