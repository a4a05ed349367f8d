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

PortPage::PortPage(ImageState &state, QWidget *parent) : QWidget(parent), board_(state)
{
    buildControls();
    connectRules();
}

void PortPage::buildControls()
{
    setObjectName(QStringLiteral("PortPage"));

    portSelectionLabel = new QLabel(QString::fromLatin1(T::kPortSelection), this);
    portSelectionLabel->setObjectName(QStringLiteral("portSelectionLabel"));
    auto *portPanel = new QWidget(this);
    auto *portGrid = new QGridLayout(portPanel);
    portGrid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kUserPortCount; ++i) {
        portButtons[i] = new QRadioButton(T::portCaption(i), portPanel);
        portButtons[i]->setObjectName(QStringLiteral("portButton_%1").arg(i));
        portGrid->addWidget(portButtons[i], i / 8, i % 8);
    }

    portHeading = new QLabel(T::configurationOfPort(0), this);
    portHeading->setObjectName(QStringLiteral("portHeading"));
    securityBox = makeButton<QCheckBox>("securityBox", T::kSecurity, this);
    learningBox = makeButton<QCheckBox>("learningBox", T::kAddressLearning, this);
    stormControlBox = makeButton<QCheckBox>("stormControlBox", T::kStormControl, this);
    flowControlBox = makeButton<QCheckBox>("flowControlBox", T::kFlowControl, this);
    autoNegotiationBox = makeButton<QCheckBox>("autoNegotiationBox", T::kAutoNegotiation, this);
    auto *checks = new QVBoxLayout;
    for (QCheckBox *box :
         {securityBox, learningBox, stormControlBox, flowControlBox, autoNegotiationBox})
        checks->addWidget(box);
    checks->addStretch(1);

    // No caption and no border of its own: it only holds the two frames inside it.
    rateDuplexPanel = new QWidget(this);
    rateDuplexPanel->setObjectName(QStringLiteral("rateDuplexPanel"));
    rateFrame = new QGroupBox(QString::fromLatin1(T::kDataRate), rateDuplexPanel);
    rateFrame->setObjectName(QStringLiteral("rateFrame"));
    rate10Option = makeButton<QRadioButton>("rate10Option", T::kRate10, rateFrame);
    rate100Option = makeButton<QRadioButton>("rate100Option", T::kRate100, rateFrame);
    auto *rates = new QVBoxLayout(rateFrame);
    rates->addWidget(rate10Option);
    rates->addWidget(rate100Option);
    duplexFrame = new QGroupBox(QString::fromLatin1(T::kDuplexMode), rateDuplexPanel);
    duplexFrame->setObjectName(QStringLiteral("duplexFrame"));
    halfDuplexOption = makeButton<QRadioButton>("halfDuplexOption", T::kHalfDuplex, duplexFrame);
    fullDuplexOption = makeButton<QRadioButton>("fullDuplexOption", T::kFullDuplex, duplexFrame);
    auto *duplex = new QVBoxLayout(duplexFrame);
    duplex->addWidget(halfDuplexOption);
    duplex->addWidget(fullDuplexOption);
    auto *frames = new QHBoxLayout(rateDuplexPanel);
    frames->setContentsMargins(0, 0, 0, 0);
    frames->addWidget(rateFrame);
    frames->addWidget(duplexFrame);

    applyButton = makeButton<QPushButton>("applyButton", T::kApplyToOtherPorts, this);
    applyButton->setAutoDefault(false); // Enter must not open another dialog

    auto *settings = new QHBoxLayout;
    settings->addLayout(checks);
    settings->addSpacing(12);
    settings->addWidget(rateDuplexPanel, 0, Qt::AlignTop);
    settings->addStretch(1);
    auto *apply = new QHBoxLayout;
    apply->addStretch(1);
    apply->addWidget(applyButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(portSelectionLabel);
    layout->addWidget(portPanel);
    layout->addSpacing(8);
    layout->addWidget(portHeading);
    layout->addLayout(settings);
    layout->addStretch(1);
    layout->addLayout(apply);
}

void PortPage::connectRules()
{
    for (int i = 0; i < kUserPortCount; ++i) {
        connect(portButtons[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                portSelected(i);
        });
    }
    // A box's change goes to the board, whose rules may change other controls.
    const auto forward = [this](QCheckBox *box, void (PortBoard::*set)(bool)) {
        connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
            if (showing_)
                return;
            (board_.*set)(on);
            showControls();
        });
    };
    forward(securityBox, &PortBoard::setSecurity);
    forward(learningBox, &PortBoard::setLearning);
    forward(stormControlBox, &PortBoard::setStormControl);
    forward(flowControlBox, &PortBoard::setFlowControl);
    forward(autoNegotiationBox, &PortBoard::setAutoNegotiation);
    for (QRadioButton *button : {rate10Option, rate100Option, halfDuplexOption, fullDuplexOption}) {
        connect(button, &QRadioButton::toggled, this, [this, button](bool on) {
            if (on)
                rateOrDuplexSelected(button);
        });
    }
}

std::optional<int> PortPage::selectedPortIndex() const
{
    for (int i = 0; i < kUserPortCount; ++i) {
        if (portButtons[i]->isChecked())
            return i;
    }
    return std::nullopt;
}

void PortPage::portSelected(int userIndex)
{
    portHeading->setText(T::configurationOfPort(userIndex));
    board_.showPort(userIndex);
    showControls();
}

void PortPage::rateOrDuplexSelected(QRadioButton *button)
{
    if (showing_)
        return;
    if (button == rate10Option || button == rate100Option)
        board_.selectRate(button == rate10Option ? Rate::Mbps10 : Rate::Mbps100);
    else
        board_.selectDuplex(button == halfDuplexOption ? Duplex::Half : Duplex::Full);
    showControls();
}

void PortPage::showControls()
{
    const PortControls &c = board_.controls();
    showing_ = true;
    securityBox->setChecked(c.security);
    learningBox->setEnabled(c.learningEnabled);
    learningBox->setChecked(c.learning);
    stormControlBox->setChecked(c.stormControl);
    flowControlBox->setChecked(c.flowControl);
    autoNegotiationBox->setChecked(c.autoNegotiation);
    rateDuplexPanel->setEnabled(c.rateDuplexPanelEnabled);
    for (QWidget *control :
         std::initializer_list<QWidget *>{rateFrame, duplexFrame, rate10Option, rate100Option,
                                          halfDuplexOption, fullDuplexOption})
        control->setEnabled(c.rateDuplexEnabled);
    const auto select = [](QRadioButton *option, QRadioButton *other, bool any, bool first) {
        if (!any) {
            clearOption(option);
            clearOption(other);
            return;
        }
        (first ? option : other)->setChecked(true);
    };
    select(rate10Option, rate100Option, c.rate.has_value(), c.rate == Rate::Mbps10);
    select(halfDuplexOption, fullDuplexOption, c.duplex.has_value(), c.duplex == Duplex::Half);
    showing_ = false;
}
