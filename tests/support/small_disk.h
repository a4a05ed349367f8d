#pragma once

#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

// A small file system of the test's own at `path` (tmpfs: root can write anywhere else), with
// "old" in out.bin, then made read-only or full. Unmounted when done.
struct SmallDisk {
    QString path;
    QString problem; // why there is none
    SmallDisk(const QString &at, bool full) : path(at)
    {
        QDir().mkpath(path);
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=8k", "tmpfs", path}) != 0) {
            problem = "no tmpfs can be mounted here";
            return;
        }
        if (!putFile(path + "/out.bin", "old"))
            problem = "the small disk takes no file";
        QFile filler(path + "/filler");
        if (full && filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            while (filler.write(QByteArray(512, 'x')) == 512) {
            }
        }
        if (!full && QProcess::execute("mount", {"-o", "remount,ro", path}) != 0)
            problem = "the small disk cannot be made read-only";
    }
    ~SmallDisk() { QProcess::execute("umount", {"-l", path}); }
};
