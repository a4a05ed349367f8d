#include "paced_switch.h"

#include <cstdio>

bool PacedSwitch::start(int model, std::optional<Ser2netProcess::Mode> via,
                        const QStringList &answers)
{
    if (!sim_.start(QStringList{QStringLiteral("--model"), QString::number(model),
                                QStringLiteral("--pace")} +
                    answers)) {
        std::fprintf(stderr, "swcfg-sim: %s\n", qPrintable(sim_.errorString()));
        return false;
    }
    if (!via)
        return true;
    server_ = std::make_unique<Ser2netProcess>();
    if (!server_->start(sim_.ptyPath(), *via)) {
        std::fprintf(stderr, "ser2net: %s\n", qPrintable(server_->errorString()));
        return false;
    }
    return true;
}

QString PacedSwitch::portName() const
{
    return server_ ? server_->portName() : sim_.ptyPath();
}
