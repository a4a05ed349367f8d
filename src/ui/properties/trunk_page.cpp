#include "ui/properties/trunk_page.h"

#include "config/trunk/trunk_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace T = TrunkTexts;
using namespace TrunkLayout;

namespace
{

QLabel *heading(const char *text, QWidget *parent)
{
    auto *label = new QLabel(QString::fromLatin1(text), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QCheckBox *checkBox(const QString &caption, const QString &name, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

// The trunks of one method in `frame`: a row per trunk, its box, then its port boxes, made in
// that order (the Tab order); port box i of trunk t is the port userIndex(t, i).
template <std::size_t PortBoxes>
QGridLayout *buildTrunkGrid(QGroupBox &frame, std::array<QCheckBox *, kTrunks> &trunkBoxes,
                            const char *trunkBoxName,
                            std::array<std::array<QCheckBox *, PortBoxes>, kTrunks> &portBoxes,
                            const char *portBoxName, int (*userIndex)(int trunk, int box))
{
    auto *grid = new QGridLayout(&frame);
    grid->addWidget(heading(T::kTrunkSelection, &frame), 0, 0);
    grid->addWidget(heading(T::kTrunkPortAssignment, &frame), 0, 1, 1, int(PortBoxes));
    for (int t = 0; t < kTrunks; ++t) {
        trunkBoxes[t] = checkBox(trunkCaption(t), QString::fromLatin1(trunkBoxName).arg(t), &frame);
        grid->addWidget(trunkBoxes[t], t + 1, 0);
        for (int i = 0; i < int(PortBoxes); ++i) {
            portBoxes[t][i] = checkBox(portBoxCaption(userIndex(t, i)),
                                       QString::fromLatin1(portBoxName).arg(t).arg(i), &frame);
            grid->addWidget(portBoxes[t][i], t + 1, 1 + i);
        }
    }
    return grid;
}

void showCheck(QCheckBox *box, bool checked, bool enabled)
{
    const QSignalBlocker blocker(box);
    box->setChecked(checked);
    box->setEnabled(enabled);
}

} // namespace

TrunkPage::TrunkPage(TrunkPageHost &host, QWidget *parent) : QWidget(parent), board_(&host)
{
    setObjectName(QStringLiteral("TrunkPage"));
    // Made first, so that Tab follows what the eye reads: the method, then its trunks.
    QWidget *methods = buildMethodFrame();
    methodTabs = new QTabWidget(this);
    methodTabs->setObjectName(QStringLiteral("methodTabs"));
    methodTabs->addTab(buildPortBasedTab(), QString::fromLatin1(T::kPortBasedTab));
    methodTabs->addTab(buildMacBasedTab(), QString::fromLatin1(T::kMacBasedTab));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(methods);
    layout->addWidget(methodTabs);
    layout->addStretch(1);

    connectRules();
    showState();
}

QWidget *TrunkPage::buildMethodFrame()
{
    methodFrame = new QGroupBox(QString::fromLatin1(T::kLoadBalancingMethod), this);
    methodFrame->setObjectName(QStringLiteral("methodFrame"));
    macBasedOption = new QRadioButton(QString::fromLatin1(T::kMacAddressBased), methodFrame);
    macBasedOption->setObjectName(QStringLiteral("macBasedOption"));
    portBasedOption = new QRadioButton(QString::fromLatin1(T::kPortBased), methodFrame);
    portBasedOption->setObjectName(QStringLiteral("portBasedOption"));
    auto *layout = new QHBoxLayout(methodFrame);
    layout->addWidget(portBasedOption);
    layout->addWidget(macBasedOption);
    layout->addStretch(1);
    return methodFrame;
}

QWidget *TrunkPage::buildPortBasedTab()
{
    auto *tab = new QWidget;
    portTrunkFrame = new QGroupBox(tab);
    portTrunkFrame->setObjectName(QStringLiteral("portTrunkFrame"));
    QGridLayout *grid = buildTrunkGrid(*portTrunkFrame, portTrunkBoxes, "portTrunkBox_%1",
                                       memberBoxes, "memberBox_%1_%2", memberUserIndex);

    mappingFrame = new QGroupBox(tab);
    mappingFrame->setObjectName(QStringLiteral("mappingFrame"));
    auto *mapping = new QGridLayout(mappingFrame);
    mapping->addWidget(heading(T::kPortBased, mappingFrame), 0, 0, 1, 2);
    for (int t = 0; t < kTrunks; ++t) {
        mappingButtons[t] = new QPushButton(QString::number(t + 1), mappingFrame);
        mappingButtons[t]->setObjectName(QStringLiteral("mappingButton_%1").arg(t));
        mappingButtons[t]->setAutoDefault(false);
        mappingButtons[t]->setFixedWidth(
            mappingButtons[t]->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
        mappingLabels[t] = new QLabel(QString::fromLatin1(T::kNotYet), mappingFrame);
        mappingLabels[t]->setObjectName(QStringLiteral("mappingLabel_%1").arg(t));
        mapping->addWidget(mappingButtons[t], t + 1, 0);
        mapping->addWidget(mappingLabels[t], t + 1, 1);
    }

    // The two frames side by side keep their rows level: one row per trunk in each.
    const int rowHeight = mappingButtons[0]->sizeHint().height();
    for (int row = 1; row <= kTrunks; ++row) {
        grid->setRowMinimumHeight(row, rowHeight);
        mapping->setRowMinimumHeight(row, rowHeight);
    }
    auto *layout = new QHBoxLayout(tab);
    layout->addWidget(portTrunkFrame);
    layout->addWidget(mappingFrame);
    layout->addStretch(1);
    return tab;
}

QWidget *TrunkPage::buildMacBasedTab()
{
    auto *tab = new QWidget;
    macTrunkFrame = new QGroupBox(tab);
    macTrunkFrame->setObjectName(QStringLiteral("macTrunkFrame"));
    buildTrunkGrid(*macTrunkFrame, macTrunkBoxes, "macTrunkBox_%1", macPortBoxes,
                   "macPortBox_%1_%2", macPortUserIndex);

    hashHeading = heading(T::kLoadBalancingMapping, tab);
    hashHeading->setObjectName(QStringLiteral("hashHeading"));
    hashLabel = new QLabel(QString::fromLatin1(T::kMacAddressBased), tab);
    hashLabel->setObjectName(QStringLiteral("hashLabel"));
    hashMethodList = new QComboBox(tab);
    hashMethodList->setObjectName(QStringLiteral("hashMethodList"));
    for (const char *name : hashMethodNames())
        hashMethodList->addItem(QString::fromLatin1(name));

    auto *hash = new QVBoxLayout;
    hash->addWidget(hashHeading);
    hash->addWidget(hashLabel);
    hash->addWidget(hashMethodList);
    hash->addStretch(1);
    auto *layout = new QHBoxLayout(tab);
    layout->addWidget(macTrunkFrame);
    layout->addLayout(hash);
    layout->addStretch(1);
    return tab;
}

template <typename Change> void TrunkPage::change(Change &&apply)
{
    if (showing_)
        return;
    apply(board_);
    showState();
}

void TrunkPage::connectRules()
{
    connect(macBasedOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            change([](TrunkBoard &b) { b.selectMethod(TrunkMethod::MacAddress); });
    });
    connect(portBasedOption, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            change([](TrunkBoard &b) { b.selectMethod(TrunkMethod::PortBased); });
    });
    connect(methodTabs, &QTabWidget::currentChanged, this,
            [this](int tab) { change([tab](TrunkBoard &b) { b.showTab(tab); }); });
    connect(hashMethodList, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { change([index](TrunkBoard &b) { b.setHashIndex(index); }); });
    for (int t = 0; t < kTrunks; ++t) {
        connect(portTrunkBoxes[t], &QCheckBox::toggled, this,
                [this, t](bool on) { change([=](TrunkBoard &b) { b.setPortTrunk(t, on); }); });
        connect(macTrunkBoxes[t], &QCheckBox::toggled, this,
                [this, t](bool on) { change([=](TrunkBoard &b) { b.setMacTrunk(t, on); }); });
        for (int m = 0; m < kMemberBoxes; ++m) {
            connect(memberBoxes[t][m], &QCheckBox::toggled, this, [this, t, m](bool on) {
                change([=](TrunkBoard &b) { b.setMember(t, m, on); });
            });
        }
        for (int i = 0; i < kMacPortBoxes; ++i) {
            connect(macPortBoxes[t][i], &QCheckBox::toggled, this, [this, t, i](bool on) {
                change([=](TrunkBoard &b) { b.setMacPort(t, i, on); });
            });
        }
        connect(mappingButtons[t], &QPushButton::clicked, this,
                [this, t] { emit mappingRequested(t); });
    }
}

void TrunkPage::showState()
{
    showing_ = true;
    const TrunkPageState &s = board_.state();
    {
        // Clearing both buttons needs their exclusivity off for the moment.
        const QSignalBlocker blockMac(macBasedOption);
        const QSignalBlocker blockPort(portBasedOption);
        macBasedOption->setAutoExclusive(false);
        portBasedOption->setAutoExclusive(false);
        macBasedOption->setChecked(s.method == TrunkMethod::MacAddress);
        portBasedOption->setChecked(s.method == TrunkMethod::PortBased);
        macBasedOption->setAutoExclusive(true);
        portBasedOption->setAutoExclusive(true);
    }
    {
        const QSignalBlocker block(methodTabs);
        methodTabs->setCurrentIndex(s.shownTab);
    }
    {
        const QSignalBlocker block(hashMethodList);
        hashMethodList->setCurrentIndex(s.hashIndex);
    }
    hashLabel->setEnabled(s.hashEnabled);
    hashMethodList->setEnabled(s.hashEnabled);
    for (int t = 0; t < kTrunks; ++t) {
        showCheck(portTrunkBoxes[t], s.port.trunk[t], s.port.trunkEnabled[t]);
        for (int m = 0; m < kMemberBoxes; ++m)
            showCheck(memberBoxes[t][m], s.port.member[t][m], s.port.memberEnabled[t][m]);
        mappingButtons[t]->setEnabled(s.port.mappingEnabled[t]);
        mappingLabels[t]->setEnabled(s.port.mappingEnabled[t]);
        mappingLabels[t]->setText(
            QString::fromLatin1(s.port.mappingDone[t] ? T::kMappingDone : T::kNotYet));
        showCheck(macTrunkBoxes[t], s.mac.trunk[t], s.mac.trunkEnabled[t]);
        for (int i = 0; i < kMacPortBoxes; ++i)
            showCheck(macPortBoxes[t][i], s.mac.port[t][i], s.mac.portEnabled[t][i]);
    }
    showing_ = false;
}
