#pragma once

#include "ui/main/switch_access.h"
#include "ui/ui_services.h"

#include <QWidget>

class FileChooser;
class ImageState;
class PortListBox;
class SwitchSession;
enum class SessionOutcome;
class QComboBox;
class QLabel;
class QPushButton;
class QProgressBar;

// The main window: model and serial port selection, Read, Write, Open, Save, Properties and EXIT,
// a status line saying what the last command did, and the progress bar of the transfers.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow(ImageState &state, const UiServices &services, const SwitchAccess &switchAccess,
               QWidget *parent = nullptr);

    // The selected model, 0..2.
    int deviceModel() const;

    QComboBox *modelList = nullptr;          // model
    PortListBox *portList = nullptr;         // "1. COM1".."8. COM8", then the devices found
    QPushButton *readButton = nullptr;       // Read
    QPushButton *writeButton = nullptr;      // Write
    QPushButton *openButton = nullptr;       // Open
    QPushButton *saveButton = nullptr;       // Save
    QPushButton *propertiesButton = nullptr; // Properties
    QPushButton *exitButton = nullptr;       // EXIT
    QLabel *statusLine = nullptr;
    QProgressBar *progressBar = nullptr;

public slots:
    void readFromSwitch();
    void writeToSwitch();
    void openConfiguration();
    void saveConfiguration();
    void showProperties();
    void exitProgram();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void addShortcuts();
    // The model, port and place of the last run, when they are remembered.
    void restorePreferences();
    // True when nothing unsaved would be lost, or the user agreed to lose it.
    bool mayDiscardChanges(const char *consequence);
    void selectModel(int index);
    // Save and Write, which need an image of the selected model (from Open or Read).
    void setImageCommandsEnabled(bool enabled);
    // Runs a Read or Write on the selected port with the window and `button` disabled
    // throughout, the progress bar following the transfers and the messages shown as boxes.
    SessionOutcome runOnSwitch(QPushButton *button,
                               SessionOutcome (SwitchSession::*command)(int model));
    // A path from the file dialog `choose` ("" when cancelled).
    QString chooseFile(QString (FileChooser::*choose)(const QString &, const QString &));
    // A file command's failure: its message, in a box and on the status line.
    void reportFileProblem(const QString &message);

    ImageState &state_;
    UiServices services_;
    SwitchAccess switchAccess_;
    bool switchCommandRunning_ = false;
    // Choices are remembered once the ones of the last run are back (start-up selects model 1).
    bool rememberChoices_ = false;
};
