#include "command_progress.h"

#include "console_output.h"
#include "image/device_models.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

// A device's 128 words take about seven times as long to write, one at a time, as the device
// takes to be read back in one answer.
constexpr double kWriteWeight = 7.0;
constexpr int kWords = 128;

} // namespace

CommandProgress::CommandProgress(const CliOptions &options)
{
    const int devices = deviceCountOf(options.model);
    const bool write = options.command == CliCommand::Write;
    if (!write || options.changedOnly) {
        for (int d = 1; d <= devices; ++d)
            steps_.push_back({readingPhase(d, devices), 1.0});
    }
    if (!write || options.dryRun)
        return;
    if (options.changedOnly) {
        // How many words differ is known once every device was read; until then the bar counts on
        // all of them, and jumps ahead when fewer are to be written.
        steps_.push_back({QString(), kWriteWeight * devices});
    } else {
        for (int d = 1; d <= devices; ++d)
            steps_.push_back({writingPhase(d, devices), kWriteWeight});
    }
    for (int d = 1; d <= devices; ++d)
        steps_.push_back({verifyingPhase(d, devices), 1.0});
}

std::optional<int> CommandProgress::percent(const ProgressState &phase)
{
    static const QRegularExpression changedWords(QStringLiteral("(\\d+)"));
    const QRegularExpressionMatch words = changedWords.match(phase.phase);
    if (words.hasMatch() && phase.phase == writingChangesPhase(words.captured(1).toInt())) {
        for (Step &step : steps_) {
            if (step.phase.isEmpty()) {
                step.phase = phase.phase;
                step.weight = kWriteWeight * words.captured(1).toInt() / kWords;
            }
        }
    }
    double total = 0;
    for (const Step &step : steps_)
        total += step.weight;
    double before = 0;
    for (const Step &step : steps_) {
        if (step.phase == phase.phase && !phase.phase.isEmpty()) {
            const double done = before + step.weight * std::clamp(phase.value, 0, 100) / 100.0;
            shown_ = std::max(shown_, static_cast<int>(100.0 * done / total));
            return shown_;
        }
        before += step.weight;
    }
    return std::nullopt;
}

std::optional<QByteArray> CommandProgress::line(const ProgressState &phase)
{
    const std::optional<int> share = percent(phase);
    if (!share)
        return std::nullopt;
    QString named = phase.phase;
    named[0] = named[0].toLower();
    return progressBar(*share) + ' ' +
           QStringLiteral("%1, %2%").arg(named).arg(*share).toLocal8Bit();
}
