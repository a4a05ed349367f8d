#include "session_records.h"

#include "eeprom_files.h"

#include <cstdio>

SessionRecords::SessionRecords(QString logPath, QString statePath, int model)
    : logPath_(std::move(logPath)), statePath_(std::move(statePath)), model_(model)
{
}

bool SessionRecords::open(const ImageWords &eeprom, QString &error)
{
    if (!logPath_.isEmpty()) {
        log_.setFileName(logPath_);
        if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            error = QStringLiteral("%1: %2").arg(logPath_, log_.errorString());
            return false;
        }
    }
    if (!statePath_.isEmpty() && !EepromFiles::writeState(statePath_, eeprom, model_, error))
        return false;
    return true;
}

void SessionRecords::log(const QString &line)
{
    if (!log_.isOpen())
        return;
    log_.write(line.toUtf8() + '\n');
    log_.flush();
}

void SessionRecords::saveState(const ImageWords &eeprom)
{
    if (statePath_.isEmpty())
        return;
    QString error;
    if (!EepromFiles::writeState(statePath_, eeprom, model_, error) && !stateFailureReported_) {
        stateFailureReported_ = true;
        std::fprintf(stderr, "swcfg-sim: state not saved: %s\n", qPrintable(error));
    }
}
