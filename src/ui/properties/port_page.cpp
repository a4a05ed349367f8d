#include "ui/properties/port_page.h"

#include "image/port_word_codec.h"
#include "ui/properties/properties_texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace T = PropertiesTexts;
using namespace PortWord;

namespace
{

template <typename Button>
Button *makeButton(const char *name, const char *caption, QWidget *parent)
{
    auto *button = new Button(QString::fromLatin1(caption), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// Option buttons of a frame are exclusive, so one can only be cleared with exclusivity off.
void clearOption(QRadioButton *button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

} // namespace

PortPage::PortPage(Module1 &module, QWidget *parent) : QWidget(parent), module_(module)
{
    buildControls();
    connectRules();
}

void PortPage::buildControls()
{
    setObjectName(QStringLiteral("PortPage"));

    Label1 = new QLabel(QString::fromLatin1(T::kPortSelection), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *portButtons = new QWidget(this);
    auto *portGrid = new QGridLayout(portButtons);
    portGrid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kUserPortCount; ++i) {
        Option1[i] = new QRadioButton(T::portCaption(i), portButtons);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        portGrid->addWidget(Option1[i], i / 8, i % 8);
    }

    Label2 = new QLabel(T::configurationOfPort(0), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Check1 = makeButton<QCheckBox>("Check1", T::kSecurity, this);
    Check2 = makeButton<QCheckBox>("Check2", T::kAddressLearning, this);
    Check3 = makeButton<QCheckBox>("Check3", T::kStormControl, this);
    Check4 = makeButton<QCheckBox>("Check4", T::kFlowControl, this);
    Check5 = makeButton<QCheckBox>("Check5", T::kAutoNegotiation, this);
    auto *checks = new QVBoxLayout;
    for (QCheckBox *box : {Check1, Check2, Check3, Check4, Check5})
        checks->addWidget(box);
    checks->addStretch(1);

    // No caption and no border of its own: it only holds the two frames inside it.
    Frame2 = new QWidget(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame3 = new QGroupBox(QString::fromLatin1(T::kDataRate), Frame2);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Option33 = makeButton<QRadioButton>("Option33", T::kRate10, Frame3);
    Option34 = makeButton<QRadioButton>("Option34", T::kRate100, Frame3);
    auto *rates = new QVBoxLayout(Frame3);
    rates->addWidget(Option33);
    rates->addWidget(Option34);
    Frame4 = new QGroupBox(QString::fromLatin1(T::kDuplexMode), Frame2);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Option35 = makeButton<QRadioButton>("Option35", T::kHalfDuplex, Frame4);
    Option36 = makeButton<QRadioButton>("Option36", T::kFullDuplex, Frame4);
    auto *duplex = new QVBoxLayout(Frame4);
    duplex->addWidget(Option35);
    duplex->addWidget(Option36);
    auto *frames = new QHBoxLayout(Frame2);
    frames->setContentsMargins(0, 0, 0, 0);
    frames->addWidget(Frame3);
    frames->addWidget(Frame4);

    Command2 = makeButton<QPushButton>("Command2", T::kApplyToOtherPorts, this);
    Command2->setAutoDefault(false); // Enter must not open another dialog

    auto *settings = new QHBoxLayout;
    settings->addLayout(checks);
    settings->addSpacing(12);
    settings->addWidget(Frame2, 0, Qt::AlignTop);
    settings->addStretch(1);
    auto *apply = new QHBoxLayout;
    apply->addStretch(1);
    apply->addWidget(Command2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(portButtons);
    layout->addSpacing(8);
    layout->addWidget(Label2);
    layout->addLayout(settings);
    layout->addStretch(1);
    layout->addLayout(apply);
}

void PortPage::connectRules()
{
    for (int i = 0; i < kUserPortCount; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                portSelected(i);
        });
    }
    connect(Check1, &QCheckBox::toggled, this, &PortPage::securityToggled);
    connect(Check2, &QCheckBox::toggled, this, &PortPage::learningToggled);
    connect(Check3, &QCheckBox::toggled, this, &PortPage::stormControlToggled);
    connect(Check4, &QCheckBox::toggled, this, &PortPage::flowControlToggled);
    connect(Check5, &QCheckBox::toggled, this, &PortPage::autoNegotiationToggled);
    for (QRadioButton *button : {Option33, Option34, Option35, Option36}) {
        connect(button, &QRadioButton::toggled, this, [this, button](bool on) {
            if (on)
                rateOrDuplexSelected(button);
        });
    }
}

std::optional<int> PortPage::SearchOption() const
{
    for (int i = 0; i < kUserPortCount; ++i) {
        if (Option1[i]->isChecked())
            return i;
    }
    return std::nullopt;
}

int PortPage::shownChipPort() const
{
    return module_.PortMap[SearchOption().value_or(0)];
}

quint16 &PortPage::firstWord()
{
    return PortWord::firstWord(module_.PortWords, shownChipPort());
}

quint16 &PortPage::secondWord()
{
    return PortWord::secondWord(module_.PortWords, shownChipPort());
}

void PortPage::portSelected(int userIndex)
{
    Label2->setText(T::configurationOfPort(userIndex));
    ParseSetting(module_.PortMap[userIndex]);
}

void PortPage::ParseSetting(int chipPort)
{
    // Each assignment below runs the control's rule when it changes the control, and those rules
    // write to the port shown: the words are read at fixed points, not after every change.
    const quint16 first = PortWord::firstWord(module_.PortWords, chipPort);
    const bool secured = securityOn(first);
    Check1->setChecked(secured);
    Check2->setChecked(!secured);
    if (!secured)
        Check2->setChecked(learningOn(first));
    Check3->setChecked(stormControlOn(first));

    const quint16 second = PortWord::secondWord(module_.PortWords, chipPort);
    Check4->setChecked(flowControlOn(second));
    if (linkMode(second) == LinkMode::AutoNegotiation) {
        Check5->setChecked(true);
        setRateDuplexEnabled(false);
        clearRateDuplex();
    } else {
        Check5->setChecked(false);
        setRateDuplexEnabled(true);
    }
    if (linkMode(second) != LinkMode::Forced)
        return;
    if (const std::optional<RateDuplex> choice = forcedChoice(second)) {
        (choice->rate == Rate::Mbps10 ? Option33 : Option34)->setChecked(true);
        (choice->duplex == Duplex::Half ? Option35 : Option36)->setChecked(true);
    }
}

void PortPage::securityToggled(bool on)
{
    // A secured port learns no addresses.
    Check2->setEnabled(!on);
    if (on)
        Check2->setChecked(false);
    firstWord() = withSecurity(firstWord(), on);
}

void PortPage::learningToggled(bool on)
{
    firstWord() = withLearning(firstWord(), on);
}

void PortPage::stormControlToggled(bool on)
{
    firstWord() = withStormControl(firstWord(), on);
}

void PortPage::flowControlToggled(bool on)
{
    secondWord() = withFlowControl(secondWord(), on);
}

void PortPage::autoNegotiationToggled(bool on)
{
    Frame2->setEnabled(!on);
    if (on) {
        clearRateDuplex();
        setRateDuplexEnabled(false);
        secondWord() = withAutoNegotiation(secondWord());
        module_.PhyUpdatePending = true;
        return;
    }
    // Leaving auto-negotiation starts from the fastest forced setting.
    setRateDuplexEnabled(true);
    Option34->setChecked(true);
    Option36->setChecked(true);
    secondWord() = withForcedMode(secondWord());
}

void PortPage::rateOrDuplexSelected(QRadioButton *button)
{
    // The button just selected decides its own half of the choice, the other frame the rest.
    const bool rate10 = button == Option33 || (button != Option34 && Option33->isChecked());
    const bool half = button == Option35 || (button != Option36 && Option35->isChecked());
    const RateDuplex choice{rate10 ? Rate::Mbps10 : Rate::Mbps100,
                            half ? Duplex::Half : Duplex::Full};
    secondWord() = withAbilities(secondWord(), choice);
    module_.PhyUpdatePending = true;
}

void PortPage::setRateDuplexEnabled(bool enabled)
{
    for (QWidget *control :
         std::initializer_list<QWidget *>{Frame3, Frame4, Option33, Option34, Option35, Option36})
        control->setEnabled(enabled);
}

void PortPage::clearRateDuplex()
{
    for (QRadioButton *button : {Option33, Option34, Option35, Option36})
        clearOption(button);
}
