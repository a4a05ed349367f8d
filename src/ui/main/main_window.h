#pragma once

#include "ui/main/switch_access.h"
#include "ui/ui_services.h"

#include <QWidget>

class ImageState;
class SwitchSession;
enum class SessionOutcome;
class QComboBox;
class QPushButton;
class QProgressBar;

// The main window: model and serial port selection, Read, Write, Open, Save, Properties and EXIT.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow(ImageState &state, const UiServices &services, const SwitchAccess &switchAccess,
               QWidget *parent = nullptr);

    // The selected model, 0..2.
    int deviceModel() const;

    QComboBox *modelList = nullptr;          // model
    QComboBox *portList = nullptr;           // serial port "1. COM1".."8. COM8"
    QPushButton *readButton = nullptr;       // Read
    QPushButton *writeButton = nullptr;      // Write
    QPushButton *openButton = nullptr;       // Open
    QPushButton *saveButton = nullptr;       // Save
    QPushButton *propertiesButton = nullptr; // Properties
    QPushButton *exitButton = nullptr;       // EXIT
    QProgressBar *progressBar = nullptr;

    static inline const char *const kQuitSettingsQuestion =
        "Changes not saved !  Do you want to quit settings ?";
    // Asked before Read, Open or closing the window would drop settings confirmed in Properties
    // that are neither saved nor written to a switch.
    static inline const char *const kDiscardQuestion =
        "The settings confirmed in Properties are neither saved nor written to a switch. "
        "Do you want to discard them?";
    static inline const char *const kReadDiscards =
        "Read replaces them with the configuration of the switch.";
    static inline const char *const kOpenDiscards =
        "Open replaces them with the configuration of the file.";
    static inline const char *const kCloseDiscards = "They are lost when the program ends.";

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
    // True when nothing unsaved would be lost, or the user agreed to lose it.
    bool mayDiscardChanges(const char *consequence);
    void selectModel(int index);
    // Runs a Read or Write on the selected COM port with the window and `button` disabled
    // throughout, the progress bar following the transfers and the messages shown as boxes.
    SessionOutcome runOnSwitch(QPushButton *button,
                               SessionOutcome (SwitchSession::*command)(int model));

    ImageState &state_;
    UiServices services_;
    SwitchAccess switchAccess_;
    bool switchCommandRunning_ = false;
};
