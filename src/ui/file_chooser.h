#pragma once

#include <QString>

class QWidget;

// File dialogs, so that windows never block a test on a modal dialog. Filters are given as
// "Description (*.ext)|*.ext"; an empty result means the user cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    // `folder`: where the dialog starts (the last one used), empty for the current folder.
    virtual QString chooseOpenPath(const QString &filter, const QString &folder = QString()) = 0;
    virtual QString chooseSavePath(const QString &filter, const QString &folder = QString()) = 0;
};

class DialogFileChooser : public FileChooser
{
public:
    explicit DialogFileChooser(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    QString chooseOpenPath(const QString &filter, const QString &folder) override;
    QString chooseSavePath(const QString &filter, const QString &folder) override;

    // "Binary File (*.bin)|*.bin" -> "Binary File (*.bin)"
    static QString toQtFilter(const QString &filter);

private:
    QWidget *parent_;
};
