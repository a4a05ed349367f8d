#pragma once

#include "ui/main/switch_access.h"
#include "ui/ui_services.h"

#include <QWidget>

#include <optional>

class FileChooser;
class ImageState;
class PortListBox;
class StopSignalWatch;
class SwitchSession;
enum class SessionOutcome;
class QComboBox;
class QLabel;
class QPushButton;
class QProgressBar;

// The main window: model and serial port selection, Read, Write, Open, Save, Properties and EXIT,
// a line saying what is loaded and whether it changed since, a status line saying what the last
// command did, and the progress bar and Stop button of the transfers.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow(ImageState &state, const UiServices &services, const SwitchAccess &switchAccess,
               QWidget *parent = nullptr);

    // The selected model, 0..2.
    int deviceModel() const;
    // From now on SIGINT, SIGTERM and SIGHUP stop a transfer between two words and end the
    // program (quitRequested).
    void takeStopSignals(StopSignalWatch &watch);

    QComboBox *modelList = nullptr;          // model
    PortListBox *portList = nullptr;         // "1. COM1".."8. COM8", the devices found, the last
    QPushButton *readButton = nullptr;       // Read
    QPushButton *writeButton = nullptr;      // Write
    QPushButton *openButton = nullptr;       // Open
    QPushButton *saveButton = nullptr;       // Save
    QPushButton *propertiesButton = nullptr; // Properties
    QPushButton *exitButton = nullptr;       // EXIT
    // Everything above: disabled while a transfer runs.
    QWidget *commandPanel = nullptr;
    QLabel *sourceLine = nullptr;
    QLabel *statusLine = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *stopButton = nullptr; // shown while a transfer runs

signals:
    // A signal ended the program: main() leaves its event loop with this status (128 + signal).
    void quitRequested(int status);

public slots:
    void readFromSwitch();
    void writeToSwitch();
    void openConfiguration();
    void saveConfiguration();
    void showProperties();
    void exitProgram();
    // Stop, or Escape: the running transfer ends between two words.
    void stopTransfer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Transfer { Read, Write };

    void buildControls();
    QWidget *buildCommandPanel();
    void addShortcuts();
    // The model, port and place of the last run, when they are remembered; a port named in the
    // environment wins over the port remembered.
    void restorePreferences();
    // Settings confirmed in Properties, neither saved nor written, on an image that could be.
    bool hasWorkToLose() const;
    // True when nothing unsaved would be lost, or the user agreed to lose it.
    bool mayDiscardChanges(const char *consequence);
    void selectModel(int index);
    // Save and Write, which need an image of the selected model (from Open or Read).
    void setImageCommandsEnabled(bool enabled);
    // Where the image came from; the line adds whether it changed since.
    void setSource(const QString &source);
    void showSource();
    // The typed port, if any, becomes the selection; false (after saying why) when it is no port.
    bool takeTypedPort();
    // "1. COM1 (/dev/ttyS0)": the selected entry and, when it does not say so, its device.
    QString portDescription() const;
    // Runs a Read or Write on the selected port with the commands disabled throughout, the
    // progress bar following the transfers, Stop at hand and the messages shown as boxes.
    SessionOutcome runOnSwitch(Transfer transfer, QPushButton *button,
                               SessionOutcome (SwitchSession::*command)(int model));
    // After a stop: what the switch holds, in a box, or on standard error for a signal.
    void reportStop(Transfer transfer, SwitchSession &session);
    // What the window adds below a transfer's message.
    QString explainMessage(const QString &text, SwitchSession *session) const;
    // The stop signal noted first; 0 while none came (or none is watched).
    int notedSignal() const;
    // The end of a transfer that a signal or a closing asked for.
    void finishAfterTransfer();
    // A signal: a transfer stops at its next word, otherwise the program ends now.
    void quitOnSignal(int signal);
    // A path from the file dialog `choose` ("" when cancelled).
    QString chooseFile(QString (FileChooser::*choose)(const QString &, const QString &));
    // A file command's failure: its message and what it is about, in a box and on the status line.
    void reportFileProblem(const QString &message, const QString &reason = QString());

    ImageState &state_;
    UiServices services_;
    SwitchAccess switchAccess_;
    StopSignalWatch *stopSignals_ = nullptr;
    QString source_;
    QString refusedPort_; // the typed port refused last
    std::optional<Transfer> running_;
    bool stopRequested_ = false;
    bool closeAfterTransfer_ = false;
    bool quittingOnSignal_ = false;
    // Choices are remembered once the ones of the last run are back (start-up selects model 1).
    bool rememberChoices_ = false;
};
