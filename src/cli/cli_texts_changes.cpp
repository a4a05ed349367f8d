#include "cli_texts.h"

// What swcfgctl says about a changed-only write that reads the switch first.
namespace CliTexts
{

QString needsChangedOnly(const QString &option)
{
    return QStringLiteral("--%1 needs --changed-only: only a changed-only write reads the switch "
                          "before it writes")
        .arg(option);
}

QString fileAndDocument(const QString &file)
{
    return QStringLiteral("%1 and --config both say what to write: give one of them").arg(file);
}

QString alreadyHolds(const QString &wanted)
{
    return QStringLiteral("the switch already holds %1: nothing written, not restarted")
        .arg(wanted);
}

QString wouldWrite(const QString &wanted, int words)
{
    return QStringLiteral("%1 differs from the switch in %2 %3: nothing written (--dry-run), not "
                          "restarted")
        .arg(wanted)
        .arg(words)
        .arg(words == 1 ? QStringLiteral("word") : QStringLiteral("words"));
}

} // namespace CliTexts
