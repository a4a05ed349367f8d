// The main window's file commands: Open and Save of *.bin configurations.
#include "ui/main/main_window.h"

#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "ui/file_chooser.h"
#include "ui/main/main_window_texts.h"
#include "ui/preferences.h"
#include "ui/prompter.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace T = MainWindowTexts;

void MainWindow::openConfiguration()
{
    if (!mayDiscardChanges(T::kOpenDiscards))
        return;
    const QString path = chooseFile(&FileChooser::chooseOpenPath);
    if (path.isEmpty())
        return;
    // The image changes only when the file is accepted, so a rejected file can never be saved or
    // written in place of what was loaded before.
    const int model = deviceModel();
    const BinFile::Loaded loaded = BinFile::load(path, model, state_.eepromImage);
    if (!loaded.image) {
        QString about;
        if (loaded.error == QString::fromLatin1(BinFile::kContentsError))
            about = T::notAnImage(path);
        else if (loaded.error == deviceModelInfo(model).wrongFileMessage)
            about = loaded.fileModel
                        ? T::fileIsFor(path, deviceModelInfo(*loaded.fileModel).listText)
                        : T::fileOfNoModel(path);
        reportFileProblem(loaded.error, about);
        return;
    }
    state_.takeLoadedImage(*loaded.image);
    setImageCommandsEnabled(true);
    setSource(QFileInfo(path).fileName());
    statusLine->setText(T::opened(QFileInfo(path).fileName()));
}

QString MainWindow::chooseFile(QString (FileChooser::*choose)(const QString &, const QString &))
{
    // The dialog starts in the folder used last, and a chosen file's folder is the next one's.
    Preferences *preferences = services_.preferences;
    const QString path = (services_.files.*choose)(QString::fromLatin1(BinFile::kFilter),
                                                   preferences ? preferences->folder() : QString());
    if (preferences && !path.isEmpty())
        preferences->setFolderOf(path);
    return path;
}

void MainWindow::reportFileProblem(const QString &message, const QString &reason)
{
    if (reason.isEmpty())
        services_.prompter.showMessage(message, MessageIcon::Critical);
    else
        services_.prompter.showMessageWithReason(message, MessageIcon::Critical, reason);
    statusLine->setText(T::failed(message, reason));
}

void MainWindow::saveConfiguration()
{
    const QString path = chooseFile(&FileChooser::chooseSavePath);
    if (path.isEmpty())
        return;
    saveButton->setEnabled(false);
    const auto error = BinFile::save(path, state_.eepromImage, deviceModel());
    saveButton->setEnabled(true);
    if (error) {
        reportFileProblem(*error);
        return;
    }
    state_.unsavedChanges = false;
    setSource(T::savedAs(QFileInfo(path).fileName()));
    statusLine->setText(T::saved(QFileInfo(path).fileName()));
}
