#include "ui/main/main_window.h"

#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "link/switch_session.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/main/main_window_texts.h"
#include "ui/main/port_list.h"
#include "ui/main/prompting_sink.h"
#include "ui/preferences.h"
#include "ui/prompter.h"
#include "ui/properties/properties_dialog.h"
#include "ui/title_bar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

namespace T = MainWindowTexts;

// `caption` with its mnemonic marked ("&Read": Alt+R); the caption shown stays the same.
QPushButton *makeButton(const char *name, const QString &caption, const QString &tip,
                        QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(96);
    button->setToolTip(tip);
    return button;
}

} // namespace

MainWindow::MainWindow(ImageState &state, const UiServices &services,
                       const SwitchAccess &switchAccess, QWidget *parent)
    : QWidget(parent), state_(state), services_(services), switchAccess_(switchAccess)
{
    buildControls();

    {
        // Filling the list is not a selection.
        const QSignalBlocker blocker(modelList);
        for (int model = 0; model < kModelCount; ++model)
            modelList->addItem(deviceModelInfo(model).listText);
    }
    setImageCommandsEnabled(false);
    connect(modelList, &QComboBox::currentIndexChanged, this, &MainWindow::selectModel);
    // Runs the model selection with lastModel still 0: caption, buttons, lastModel and is32Port.
    modelList->setCurrentIndex(kStartupModel);

    progressBar->setValue(0);
    progressBar->setVisible(false);
    state_.applyStartupDefaults();
    restorePreferences();

    connect(readButton, &QPushButton::clicked, this, &MainWindow::readFromSwitch);
    connect(writeButton, &QPushButton::clicked, this, &MainWindow::writeToSwitch);
    connect(openButton, &QPushButton::clicked, this, &MainWindow::openConfiguration);
    connect(saveButton, &QPushButton::clicked, this, &MainWindow::saveConfiguration);
    connect(propertiesButton, &QPushButton::clicked, this, &MainWindow::showProperties);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);
    addShortcuts();
}

void MainWindow::addShortcuts()
{
    const std::pair<QKeySequence, QPushButton *> shortcuts[] = {
        {QKeySequence::Open, openButton},
        {QKeySequence::Save, saveButton},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), exitButton}};
    for (const auto &[keys, button] : shortcuts) {
        // A disabled button ignores the click, as it would a mouse click.
        connect(new QShortcut(keys, this), &QShortcut::activated, button, &QPushButton::click);
        button->setToolTip(button->toolTip() +
                           QStringLiteral(" (%1)").arg(keys.toString(QKeySequence::NativeText)));
    }
}

void MainWindow::restorePreferences()
{
    Preferences *preferences = services_.preferences;
    if (!preferences)
        return;
    const int model = preferences->model(kStartupModel);
    if (isValidModel(model))
        modelList->setCurrentIndex(model);
    portList->selectDevice(preferences->portDevice());
    restoreGeometry(preferences->geometry());
    connect(portList, &QComboBox::currentIndexChanged, this,
            [this, preferences] { preferences->setPortDevice(portList->device()); });
    rememberChoices_ = true;
}

void MainWindow::buildControls()
{
    setObjectName(QStringLiteral("MainWindow"));

    modelList = new QComboBox(this);
    modelList->setObjectName(QStringLiteral("modelList"));
    portList = new PortListBox(switchAccess_.devices, this);
    portList->setObjectName(QStringLiteral("portList"));

    auto *selection = new QGridLayout;
    selection->addWidget(new QLabel(QStringLiteral("Device Type :"), this), 0, 0);
    selection->addWidget(modelList, 0, 1);
    selection->addWidget(new QLabel(QStringLiteral("RS232 COM Port"), this), 1, 0);
    selection->addWidget(portList, 1, 1);
    selection->setColumnStretch(1, 1);

    auto *deviceGroup = new QGroupBox(QStringLiteral("Device"), this);
    readButton = makeButton("readButton", QStringLiteral("&Read"),
                            QStringLiteral("Read the configuration of the switch"), deviceGroup);
    writeButton = makeButton("writeButton", QStringLiteral("&Write"),
                             QStringLiteral("Write the configuration to the switch, verify it "
                                            "and restart the switch"),
                             deviceGroup);
    auto *deviceRow = new QHBoxLayout(deviceGroup);
    deviceRow->addWidget(readButton);
    deviceRow->addWidget(writeButton);

    auto *fileGroup = new QGroupBox(QStringLiteral("File :"), this);
    openButton = makeButton("openButton", QStringLiteral("&Open"),
                            QStringLiteral("Open a configuration file"), fileGroup);
    saveButton = makeButton("saveButton", QStringLiteral("&Save"),
                            QStringLiteral("Save the configuration to a file"), fileGroup);
    auto *fileRow = new QHBoxLayout(fileGroup);
    fileRow->addWidget(openButton);
    fileRow->addWidget(saveButton);

    auto *groups = new QHBoxLayout;
    groups->addWidget(deviceGroup);
    groups->addWidget(fileGroup);

    propertiesButton = makeButton("propertiesButton", QStringLiteral("&Properties"),
                                  QStringLiteral("Edit the settings of the configuration"), this);
    exitButton =
        makeButton("exitButton", QStringLiteral("&EXIT"), QStringLiteral("End the program"), this);
    auto *commands = new QHBoxLayout;
    commands->addWidget(propertiesButton);
    commands->addStretch(1);
    commands->addWidget(exitButton);

    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setWordWrap(true);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, 100);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(selection);
    layout->addLayout(groups);
    layout->addLayout(commands);
    layout->addWidget(statusLine);
    layout->addWidget(progressBar);
    // Wide enough for the longest caption in a title bar (bold, with an icon and three buttons),
    // and always at its natural height: the progress bar leaves no empty band behind.
    int width = 0;
    for (int model = 0; model < kModelCount; ++model)
        width = std::max(width, titleBarWidth(font(), deviceModelInfo(model).mainCaption));
    layout->addSpacerItem(new QSpacerItem(width, 0, QSizePolicy::Fixed));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::setImageCommandsEnabled(bool enabled)
{
    saveButton->setEnabled(enabled);
    writeButton->setEnabled(enabled);
}

int MainWindow::deviceModel() const
{
    return modelList->currentIndex();
}

void MainWindow::selectModel(int index)
{
    if (!isValidModel(index))
        return;
    // Confirmed settings keep their caption while the model stays.
    const bool keepCaption = state_.configChanged && index == state_.lastModel;
    if (state_.configChanged && index != state_.lastModel) {
        if (!services_.prompter.askYesNo(QString::fromLatin1(T::kQuitSettingsQuestion))) {
            const QSignalBlocker blocker(modelList);
            modelList->setCurrentIndex(state_.lastModel);
            return;
        }
        state_.resetForModelChange();
    }
    if (!keepCaption)
        setWindowTitle(deviceModelInfo(index).mainCaption);
    if (index != state_.lastModel) {
        // The image no longer belongs to the selected model until the next Open or Read.
        setImageCommandsEnabled(false);
    }
    state_.lastModel = index;
    state_.is32Port = index == Model32NWay;
    if (rememberChoices_)
        services_.preferences->setModel(index);
}

SessionOutcome MainWindow::runOnSwitch(QPushButton *button,
                                       SessionOutcome (SwitchSession::*command)(int model))
{
    // Nothing may start a second command, or close the window, until this one has ended; the
    // transfers keep the event loop running so the window repaints meanwhile.
    switchCommandRunning_ = true;
    button->setEnabled(false);
    setEnabled(false);

    const std::unique_ptr<SerialLine> line = switchAccess_.lines(portList->device());
    PromptingSink messages(services_.prompter);
    SwitchSession session(
        state_, *line, switchAccess_.clock, messages, [this](const ProgressState &progress) {
            progressBar->setFormat(progress.phase.isEmpty()
                                       ? QStringLiteral("%p%")
                                       : progress.phase + QStringLiteral(" (%p%)"));
            progressBar->setValue(progress.value);
            progressBar->setVisible(progress.visible);
        });
    const SessionOutcome outcome = (session.*command)(deviceModel());
    statusLine->setText(messages.lastText);

    progressBar->setVisible(false);
    setEnabled(true);
    button->setEnabled(true);
    switchCommandRunning_ = false;
    return outcome;
}

bool MainWindow::mayDiscardChanges(const char *consequence)
{
    return !state_.unsavedChanges ||
           services_.prompter.askYesNo(QString::fromLatin1(T::kDiscardQuestion),
                                       QString::fromLatin1(consequence));
}

void MainWindow::readFromSwitch()
{
    if (!mayDiscardChanges(T::kReadDiscards))
        return;
    if (runOnSwitch(readButton, &SwitchSession::read) == SessionOutcome::Done) {
        setImageCommandsEnabled(true);
        statusLine->setText(T::readDone(deviceCountOf(deviceModel()), portList->currentText()));
    }
}

void MainWindow::writeToSwitch()
{
    const SessionOutcome outcome = runOnSwitch(writeButton, &SwitchSession::write);
    // Every device verified: the switch holds the settings (restarted or not).
    if (outcome == SessionOutcome::Done || outcome == SessionOutcome::NotRestarted)
        state_.unsavedChanges = false;
    if (outcome == SessionOutcome::Done)
        statusLine->setText(QString::fromLatin1(T::kWritten));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (switchCommandRunning_ || !mayDiscardChanges(T::kCloseDiscards)) {
        event->ignore();
        return;
    }
    if (services_.preferences)
        services_.preferences->setGeometry(saveGeometry());
    QWidget::closeEvent(event);
}

void MainWindow::openConfiguration()
{
    if (!mayDiscardChanges(T::kOpenDiscards))
        return;
    const QString path = chooseFile(&FileChooser::chooseOpenPath);
    if (path.isEmpty())
        return;
    // The image changes only when the file is accepted, so a rejected file can never be saved or
    // written in place of what was loaded before.
    const BinFile::Loaded loaded = BinFile::load(path, deviceModel(), state_.eepromImage);
    if (!loaded.image) {
        reportFileProblem(loaded.error);
        return;
    }
    state_.takeLoadedImage(*loaded.image);
    setImageCommandsEnabled(true);
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

void MainWindow::reportFileProblem(const QString &message)
{
    services_.prompter.showMessage(message, MessageIcon::Critical);
    statusLine->setText(message);
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
    statusLine->setText(T::saved(QFileInfo(path).fileName()));
}

void MainWindow::showProperties()
{
    const int model = deviceModel();
    state_.setModelFlags(model);

    PropertiesDialog dialog(state_, services_, this);
    const DeviceModelInfo &info = deviceModelInfo(model);
    // After a confirmed change the dialog keeps the main caption.
    dialog.setWindowTitle(state_.configChanged ? info.mainCaption : info.propertiesCaption);
    dialog.pageTabs->setCurrentIndex(0);
    services_.dialogs.run(dialog);
}

void MainWindow::exitProgram()
{
    // close() asks about unsaved settings first; No keeps the program running.
    if (close())
        QCoreApplication::quit();
}
