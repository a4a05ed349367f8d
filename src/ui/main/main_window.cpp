#include "ui/main/main_window.h"

#include "image/device_models.h"
#include "image/image_state.h"
#include "link/com_ports.h"
#include "ui/dialog_runner.h"
#include "ui/main/main_window_texts.h"
#include "ui/main/port_list_box.h"
#include "ui/preferences.h"
#include "ui/prompter.h"
#include "ui/properties/properties_dialog.h"
#include "ui/title_bar.h"
#include "ui/wheel_guard.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
    : QWidget(parent), state_(state), services_(services), switchAccess_(switchAccess),
      source_(QString::fromLatin1(T::kNothingLoaded))
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
    // Runs the model selection with lastModel still 0: caption, buttons, lastModel and the model.
    modelList->setCurrentIndex(kStartupModel);

    progressBar->setValue(0);
    progressBar->setVisible(false);
    state_.applyStartupDefaults();
    restorePreferences();
    showSource();

    connect(readButton, &QPushButton::clicked, this, &MainWindow::readFromSwitch);
    connect(writeButton, &QPushButton::clicked, this, &MainWindow::writeToSwitch);
    connect(openButton, &QPushButton::clicked, this, &MainWindow::openConfiguration);
    connect(saveButton, &QPushButton::clicked, this, &MainWindow::saveConfiguration);
    connect(propertiesButton, &QPushButton::clicked, this, &MainWindow::showProperties);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);
    connect(stopButton, &QPushButton::clicked, this, &MainWindow::stopTransfer);
    // Enter in the port list takes the typed port at once, and says what is wrong with it. The
    // list hands Enter to its line a second time: one refusal of the same entry is enough.
    connect(portList->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (portList->currentText() != refusedPort_)
            takeTypedPort();
    });
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
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &MainWindow::stopTransfer);
}

void MainWindow::restorePreferences()
{
    Preferences *preferences = services_.preferences;
    if (preferences) {
        const int model = preferences->model(kStartupModel);
        if (isValidModel(model))
            modelList->setCurrentIndex(model);
        portList->setRecentDevices(preferences->recentPorts());
        portList->selectDevice(preferences->portDevice());
        restoreGeometry(preferences->geometry());
    }
    // SWCFG_COM<n> was set for this run: its port is the one meant, whatever was used last.
    for (int port = kFirstComPort; port <= kLastComPort; ++port) {
        if (!qEnvironmentVariableIsEmpty(qPrintable(comPortVariable(port)))) {
            portList->setCurrentIndex(port - 1);
            break;
        }
    }
    if (!preferences)
        return;
    connect(portList, &QComboBox::currentIndexChanged, this,
            [this, preferences] { preferences->setPortDevice(portList->device()); });
    rememberChoices_ = true;
}

QWidget *MainWindow::buildCommandPanel()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("commandPanel"));

    modelList = new QComboBox(panel);
    modelList->setObjectName(QStringLiteral("modelList"));
    portList = new PortListBox(switchAccess_.devices, panel);
    portList->setObjectName(QStringLiteral("portList"));
    for (QWidget *list : {static_cast<QWidget *>(modelList), static_cast<QWidget *>(portList)})
        takeWheelOnlyWithFocus(list);
    sourceLine = new QLabel(panel);
    sourceLine->setObjectName(QStringLiteral("sourceLine"));
    sourceLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *selection = new QGridLayout;
    selection->addWidget(new QLabel(QStringLiteral("Device Type :"), panel), 0, 0);
    selection->addWidget(modelList, 0, 1);
    selection->addWidget(new QLabel(QStringLiteral("RS232 COM Port"), panel), 1, 0);
    selection->addWidget(portList, 1, 1);
    selection->addWidget(new QLabel(QString::fromLatin1(T::kSourceCaption), panel), 2, 0);
    selection->addWidget(sourceLine, 2, 1);
    selection->setColumnStretch(1, 1);

    auto *deviceGroup = new QGroupBox(QStringLiteral("Device"), panel);
    readButton = makeButton("readButton", QStringLiteral("&Read"),
                            QStringLiteral("Read the configuration of the switch"), deviceGroup);
    writeButton = makeButton("writeButton", QStringLiteral("&Write"),
                             QStringLiteral("Write the configuration to the switch, verify it "
                                            "and restart the switch"),
                             deviceGroup);
    auto *deviceRow = new QHBoxLayout(deviceGroup);
    deviceRow->addWidget(readButton);
    deviceRow->addWidget(writeButton);

    auto *fileGroup = new QGroupBox(QStringLiteral("File :"), panel);
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
                                  QStringLiteral("Edit the settings of the configuration"), panel);
    exitButton =
        makeButton("exitButton", QStringLiteral("&EXIT"), QStringLiteral("End the program"), panel);
    auto *commands = new QHBoxLayout;
    commands->addWidget(propertiesButton);
    commands->addStretch(1);
    commands->addWidget(exitButton);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(selection);
    layout->addLayout(groups);
    layout->addLayout(commands);
    return panel;
}

void MainWindow::buildControls()
{
    setObjectName(QStringLiteral("MainWindow"));
    commandPanel = buildCommandPanel();

    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("statusLine"));
    statusLine->setWordWrap(true);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, 100);
    stopButton = makeButton("stopButton", QString::fromLatin1(T::kStop),
                            QString::fromLatin1(T::kStopTip), this);
    stopButton->setVisible(false);
    auto *transfer = new QHBoxLayout;
    transfer->addWidget(progressBar, 1);
    transfer->addWidget(stopButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(commandPanel);
    layout->addWidget(statusLine);
    layout->addLayout(transfer);
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

void MainWindow::setSource(const QString &source)
{
    source_ = source;
    showSource();
}

void MainWindow::showSource()
{
    sourceLine->setText(state_.unsavedChanges ? T::changedInProperties(source_) : source_);
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
        // Settings already saved or written are not lost: the change goes ahead as after Yes.
        if (hasWorkToLose() &&
            !services_.prompter.askYesNo(QString::fromLatin1(T::kQuitSettingsQuestion))) {
            const QSignalBlocker blocker(modelList);
            modelList->setCurrentIndex(state_.lastModel);
            return;
        }
        state_.resetForModelChange();
        setSource(QString::fromLatin1(T::kNothingLoaded));
    }
    if (!keepCaption)
        setWindowTitle(deviceModelInfo(index).mainCaption);
    if (index != state_.lastModel) {
        // The image no longer belongs to the selected model until the next Open or Read.
        setImageCommandsEnabled(false);
    }
    state_.lastModel = index;
    state_.setModel(index);
    if (rememberChoices_)
        services_.preferences->setModel(index);
}

bool MainWindow::hasWorkToLose() const
{
    // Without an image from Open or Read there is nothing to save or write the settings with.
    return state_.unsavedChanges && state_.imageLoaded;
}

bool MainWindow::mayDiscardChanges(const char *consequence)
{
    return !hasWorkToLose() || services_.prompter.askYesNo(QString::fromLatin1(T::kDiscardQuestion),
                                                           QString::fromLatin1(consequence));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (running_) {
        // The transfer is asked to stop, and the window closes once it has.
        event->ignore();
        if (closeAfterTransfer_ || quittingOnSignal_)
            return;
        const bool writing = running_ == Transfer::Write;
        if (services_.prompter.askYesNo(
                QString::fromLatin1(writing ? T::kStopWriteQuestion : T::kStopReadQuestion),
                QString::fromLatin1(writing ? T::kStopWriteConsequence
                                            : T::kStopReadConsequence))) {
            closeAfterTransfer_ = true;
            stopTransfer();
        }
        return;
    }
    // Ended by a signal, nobody is there to answer.
    if (!quittingOnSignal_ && !mayDiscardChanges(T::kCloseDiscards)) {
        event->ignore();
        return;
    }
    if (services_.preferences)
        services_.preferences->setGeometry(saveGeometry());
    QWidget::closeEvent(event);
}

void MainWindow::showProperties()
{
    const int model = deviceModel();
    state_.setModel(model);

    PropertiesDialog dialog(state_, services_, this);
    const DeviceModelInfo &info = deviceModelInfo(model);
    // After a confirmed change the dialog keeps the main caption.
    dialog.setWindowTitle(state_.configChanged ? info.mainCaption : info.propertiesCaption);
    dialog.pageTabs->setCurrentIndex(0);
    services_.dialogs.run(dialog);
    showSource();
}

void MainWindow::exitProgram()
{
    // close() asks about unsaved settings first; No keeps the program running.
    if (close())
        QCoreApplication::quit();
}
