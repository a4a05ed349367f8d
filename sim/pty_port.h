#pragma once

#include <QString>

// The simulator's end of the serial line: a pseudo-terminal in raw mode. The slave side stays
// open here as well, so the line does not hang up while the tool has the port closed between
// operations.
class PtyPort
{
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort &) = delete;
    PtyPort &operator=(const PtyPort &) = delete;

    // Creates the pseudo-terminal; false with `error` set when the system refuses.
    bool open(QString &error);

    // Makes a symbolic link at `path` to the slave, replacing an older link (never another file).
    // The link is removed again when the port goes.
    bool makeLink(const QString &path, QString &error);

    // As a port whose cable was pulled: from now on the terminal cannot be opened (not even by
    // root) and its link is gone; whoever has it open already keeps it.
    void vanish();

    int masterFd() const { return master_; }
    int slaveFd() const { return slave_; }
    QString slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QString linkPath_;
};
