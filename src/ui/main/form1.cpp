#include "ui/main/form1.h"

#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/module1.h"
#include "link/switch_session.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/prompter.h"
#include "ui/properties/form2.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpacerItem>
#include <QTabWidget>

#include <QVBoxLayout>

#include <algorithm>

namespace
{

// The switch commands' messages, as message boxes.
class PromptingSink : public SessionMessageSink
{
public:
    explicit PromptingSink(Prompter &prompter) : prompter_(prompter) {}
    void report(const QString &text, MessageSeverity severity) override
    {
        prompter_.showMessage(text, iconFor(severity));
    }
    void reportWithReason(const QString &text, MessageSeverity severity,
                          const QString &reason) override
    {
        prompter_.showMessageWithReason(text, iconFor(severity), reason);
    }

private:
    static MessageIcon iconFor(MessageSeverity severity)
    {
        return severity == MessageSeverity::Critical ? MessageIcon::Critical
                                                     : MessageIcon::Exclamation;
    }

    Prompter &prompter_;
};

QPushButton *makeButton(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(96);
    return button;
}

} // namespace

Form1::Form1(Module1 &module, const UiServices &services, const SwitchAccess &switchAccess,
             QWidget *parent)
    : QWidget(parent), module_(module), services_(services), switchAccess_(switchAccess)
{
    buildControls();

    {
        // Filling the list is not a selection.
        const QSignalBlocker blocker(Combo1);
        for (int model = 0; model < kModelCount; ++model)
            Combo1->addItem(deviceModelInfo(model).listText);
    }
    Command5->setEnabled(false);
    Command7->setEnabled(false);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::selectModel);
    // Runs the model selection with LastModel still 0: caption, buttons, LastModel and Is32Port.
    Combo1->setCurrentIndex(kStartupModel);

    for (int port = 1; port <= 8; ++port)
        Combo2->addItem(QStringLiteral("%1. COM%1").arg(port));
    Combo2->setCurrentIndex(0);

    ProgressBar1->setValue(0);
    ProgressBar1->setVisible(false);
    module_.applyStartupDefaults();

    connect(Command8, &QPushButton::clicked, this, &Form1::readFromSwitch);
    connect(Command7, &QPushButton::clicked, this, &Form1::writeToSwitch);
    connect(Command3, &QPushButton::clicked, this, &Form1::openConfiguration);
    connect(Command5, &QPushButton::clicked, this, &Form1::saveConfiguration);
    connect(Command2, &QPushButton::clicked, this, &Form1::showProperties);
    connect(Command9, &QPushButton::clicked, this, &Form1::exitProgram);
}

void Form1::buildControls()
{
    setObjectName(QStringLiteral("Form1"));

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));

    auto *selection = new QGridLayout;
    selection->addWidget(new QLabel(QStringLiteral("Device Type :"), this), 0, 0);
    selection->addWidget(Combo1, 0, 1);
    selection->addWidget(new QLabel(QStringLiteral("RS232 COM Port"), this), 1, 0);
    selection->addWidget(Combo2, 1, 1);
    selection->setColumnStretch(1, 1);

    auto *deviceGroup = new QGroupBox(QStringLiteral("Device"), this);
    Command8 = makeButton("Command8", QStringLiteral("Read"), deviceGroup);
    Command7 = makeButton("Command7", QStringLiteral("Write"), deviceGroup);
    auto *deviceRow = new QHBoxLayout(deviceGroup);
    deviceRow->addWidget(Command8);
    deviceRow->addWidget(Command7);

    auto *fileGroup = new QGroupBox(QStringLiteral("File :"), this);
    Command3 = makeButton("Command3", QStringLiteral("Open"), fileGroup);
    Command5 = makeButton("Command5", QStringLiteral("Save"), fileGroup);
    auto *fileRow = new QHBoxLayout(fileGroup);
    fileRow->addWidget(Command3);
    fileRow->addWidget(Command5);

    auto *groups = new QHBoxLayout;
    groups->addWidget(deviceGroup);
    groups->addWidget(fileGroup);

    Command2 = makeButton("Command2", QStringLiteral("Properties"), this);
    Command9 = makeButton("Command9", QStringLiteral("EXIT"), this);
    auto *commands = new QHBoxLayout;
    commands->addWidget(Command2);
    commands->addStretch(1);
    commands->addWidget(Command9);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(selection);
    layout->addLayout(groups);
    layout->addLayout(commands);
    layout->addWidget(ProgressBar1);
    // Wide enough for the longest caption in a title bar (bold, with an icon and three buttons),
    // and always at its natural height: the progress bar leaves no empty band behind.
    QFont titleFont = font();
    titleFont.setBold(true);
    int caption = 0;
    for (int model = 0; model < kModelCount; ++model) {
        caption = std::max(
            caption, QFontMetrics(titleFont).horizontalAdvance(deviceModelInfo(model).mainCaption));
    }
    layout->addSpacerItem(new QSpacerItem(caption + 160, 0, QSizePolicy::Fixed));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int Form1::deviceModel() const
{
    return Combo1->currentIndex();
}

void Form1::selectModel(int index)
{
    if (!isValidModel(index))
        return;
    if (module_.ConfigChanged && index != module_.LastModel) {
        if (!services_.prompter.askYesNo(QString::fromLatin1(kQuitSettingsQuestion))) {
            const QSignalBlocker blocker(Combo1);
            Combo1->setCurrentIndex(module_.LastModel);
            return;
        }
        module_.resetForModelChange();
        setWindowTitle(deviceModelInfo(index).mainCaption);
    } else if (!module_.ConfigChanged) {
        setWindowTitle(deviceModelInfo(index).mainCaption);
    }
    if (index != module_.LastModel) {
        // The image no longer belongs to the selected model until the next Open or Read.
        Command5->setEnabled(false);
        Command7->setEnabled(false);
    }
    module_.LastModel = index;
    module_.Is32Port = index == Model32NWay;
}

SessionOutcome Form1::runOnSwitch(QPushButton *button,
                                  SessionOutcome (SwitchSession::*command)(int model))
{
    // Nothing may start a second command, or close the window, until this one has ended; the
    // transfers keep the event loop running so the window repaints meanwhile.
    switchCommandRunning_ = true;
    button->setEnabled(false);
    setEnabled(false);

    const std::unique_ptr<SerialLine> line = switchAccess_.lines(Combo2->currentIndex() + 1);
    PromptingSink messages(services_.prompter);
    SwitchSession session(module_, *line, switchAccess_.clock, messages,
                          [this](const ProgressState &progress) {
                              ProgressBar1->setValue(progress.value);
                              ProgressBar1->setVisible(progress.visible);
                          });
    const SessionOutcome outcome = (session.*command)(deviceModel());

    ProgressBar1->setVisible(false);
    setEnabled(true);
    button->setEnabled(true);
    switchCommandRunning_ = false;
    return outcome;
}

void Form1::readFromSwitch()
{
    if (runOnSwitch(Command8, &SwitchSession::read) == SessionOutcome::Done) {
        Command5->setEnabled(true);
        Command7->setEnabled(true);
    }
}

void Form1::writeToSwitch()
{
    runOnSwitch(Command7, &SwitchSession::write);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (switchCommandRunning_) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void Form1::openConfiguration()
{
    const QString path = services_.files.chooseOpenPath(QString::fromLatin1(BinFile::kFilter));
    if (path.isEmpty())
        return;
    // The image changes only when the file is accepted, so a rejected file can never be saved or
    // written in place of what was loaded before.
    const BinFile::Loaded loaded = BinFile::load(path, deviceModel(), module_.EepromImage);
    if (!loaded.image) {
        services_.prompter.showMessage(loaded.error, MessageIcon::Critical);
        return;
    }
    module_.takeLoadedImage(*loaded.image);
    Command5->setEnabled(true);
    Command7->setEnabled(true);
}

void Form1::saveConfiguration()
{
    const QString path = services_.files.chooseSavePath(QString::fromLatin1(BinFile::kFilter));
    if (path.isEmpty())
        return;
    Command5->setEnabled(false);
    const auto error = BinFile::save(path, module_.EepromImage, deviceModel());
    Command5->setEnabled(true);
    if (error)
        services_.prompter.showMessage(*error, MessageIcon::Critical);
}

void Form1::showProperties()
{
    const int model = deviceModel();
    module_.Is32Port = model == Model32NWay;
    module_.Is1000SX = model == Model24Sx;

    Form2 dialog(module_, services_, this);
    const DeviceModelInfo &info = deviceModelInfo(model);
    // After a confirmed change the dialog keeps the main caption.
    dialog.setWindowTitle(module_.ConfigChanged ? info.mainCaption : info.propertiesCaption);
    dialog.SSTab1->setCurrentIndex(0);
    services_.dialogs.run(dialog);
}

void Form1::exitProgram()
{
    close();
    QCoreApplication::quit();
}
