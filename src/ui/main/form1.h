#pragma once

#include "ui/main/switch_access.h"
#include "ui/ui_services.h"

#include <QWidget>

class Module1;
class SwitchSession;
enum class SessionOutcome;
class QComboBox;
class QPushButton;
class QProgressBar;

// The main window: model and serial port selection, Read, Write, Open, Save, Properties and EXIT.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    Form1(Module1 &module, const UiServices &services, const SwitchAccess &switchAccess,
          QWidget *parent = nullptr);

    // The selected model, 0..2.
    int deviceModel() const;

    QComboBox *Combo1 = nullptr;     // model
    QComboBox *Combo2 = nullptr;     // serial port "1. COM1".."8. COM8"
    QPushButton *Command8 = nullptr; // Read
    QPushButton *Command7 = nullptr; // Write
    QPushButton *Command3 = nullptr; // Open
    QPushButton *Command5 = nullptr; // Save
    QPushButton *Command2 = nullptr; // Properties
    QPushButton *Command9 = nullptr; // EXIT
    QProgressBar *ProgressBar1 = nullptr;

    static inline const char *const kQuitSettingsQuestion =
        "Changes not saved !  Do you want to quit settings ?";

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
    void selectModel(int index);
    // Runs a Read or Write on the selected COM port with the window and `button` disabled
    // throughout, the progress bar following the transfers and the messages shown as boxes.
    SessionOutcome runOnSwitch(QPushButton *button,
                               SessionOutcome (SwitchSession::*command)(int model));

    Module1 &module_;
    UiServices services_;
    SwitchAccess switchAccess_;
    bool switchCommandRunning_ = false;
};
