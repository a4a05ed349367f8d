#pragma once

#include "command_progress.h"
#include "multi_port_run.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <vector>

// swcfgctl's standard error while several ports run: each message on a line of its own, led by
// its port's short name, and on a terminal a progress line per port, redrawn in place below
// them. Used from one thread only.
class PortConsole : public PortsObserver
{
public:
    // `progress`: how each port's phases make up its progress line; none: no lines are drawn.
    // `labels`: the short name of each port; none when one port runs, whose messages then read
    // as they would alone.
    PortConsole(std::FILE *stream, std::optional<CommandProgress> progress, QStringList labels);

    void message(int port, const QString &text, const QString &reason) override;
    void progress(int port, const ProgressState &state) override;
    bool wantsProgress() const override { return drawProgress_; }

    // Text of no port in particular (a file refused before any port was tried, the summary).
    void note(const QString &text);
    // Takes the progress lines away, once every port has ended.
    void finish();

private:
    void line(const QString &label, const QString &text);
    void drawBars();
    void eraseBars();
    void write(const QByteArray &bytes);

    std::FILE *stream_;
    bool drawProgress_;
    QStringList labels_;
    std::vector<CommandProgress> plans_; // one a port
    std::vector<QByteArray> lines_;
    bool barsShown_ = false;
    QElapsedTimer sinceDrawn_;
};
