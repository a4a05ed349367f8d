#include "config/trunk/trunk_page.h"

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
    SSTab2 = new QTabWidget(this);
    SSTab2->setObjectName(QStringLiteral("SSTab2"));
    SSTab2->addTab(buildPortBasedTab(), QString::fromLatin1(T::kPortBasedTab));
    SSTab2->addTab(buildMacBasedTab(), QString::fromLatin1(T::kMacBasedTab));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildMethodFrame());
    layout->addWidget(SSTab2);
    layout->addStretch(1);

    connectRules();
    showState();
}

QWidget *TrunkPage::buildMethodFrame()
{
    Frame6 = new QGroupBox(QString::fromLatin1(T::kLoadBalancingMethod), this);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    Option37 = new QRadioButton(QString::fromLatin1(T::kMacAddressBased), Frame6);
    Option37->setObjectName(QStringLiteral("Option37"));
    Option38 = new QRadioButton(QString::fromLatin1(T::kPortBased), Frame6);
    Option38->setObjectName(QStringLiteral("Option38"));
    auto *layout = new QHBoxLayout(Frame6);
    layout->addWidget(Option38);
    layout->addWidget(Option37);
    layout->addStretch(1);
    return Frame6;
}

QWidget *TrunkPage::buildPortBasedTab()
{
    auto *tab = new QWidget;
    Frame5 = new QGroupBox(tab);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    auto *grid = new QGridLayout(Frame5);
    grid->addWidget(heading(T::kTrunkSelection, Frame5), 0, 0);
    grid->addWidget(heading(T::kTrunkPortAssignment, Frame5), 0, 1, 1, 4);
    for (int t = 0; t < kTrunks; ++t) {
        portTrunkBoxes[t] = checkBox(trunkCaption(t), QStringLiteral("Check%1").arg(6 + t), Frame5);
        grid->addWidget(portTrunkBoxes[t], t + 1, 0);
        for (int m = 0; m < kMemberBoxes; ++m) {
            memberBoxes[t][m] = checkBox(portBoxCaption(memberUserIndex(t, m)),
                                         QStringLiteral("Check%1_%2").arg(14 + t).arg(m), Frame5);
            grid->addWidget(memberBoxes[t][m], t + 1, 1 + m);
        }
    }

    Frame7 = new QGroupBox(tab);
    Frame7->setObjectName(QStringLiteral("Frame7"));
    auto *mapping = new QGridLayout(Frame7);
    mapping->addWidget(heading(T::kPortBased, Frame7), 0, 0, 1, 2);
    for (int t = 0; t < kTrunks; ++t) {
        mappingButtons[t] = new QPushButton(QString::number(t + 1), Frame7);
        mappingButtons[t]->setObjectName(QStringLiteral("Command%1").arg(7 + t));
        mappingButtons[t]->setAutoDefault(false);
        mappingButtons[t]->setFixedWidth(
            mappingButtons[t]->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 16);
        mappingLabels[t] = new QLabel(QString::fromLatin1(T::kNotYet), Frame7);
        mappingLabels[t]->setObjectName(QStringLiteral("Label%1").arg(9 + t));
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
    layout->addWidget(Frame5);
    layout->addWidget(Frame7);
    layout->addStretch(1);
    return tab;
}

QWidget *TrunkPage::buildMacBasedTab()
{
    auto *tab = new QWidget;
    Frame9 = new QGroupBox(tab);
    Frame9->setObjectName(QStringLiteral("Frame9"));
    auto *grid = new QGridLayout(Frame9);
    grid->addWidget(heading(T::kTrunkSelection, Frame9), 0, 0);
    grid->addWidget(heading(T::kTrunkPortAssignment, Frame9), 0, 1, 1, kMacPortBoxes);
    for (int t = 0; t < kTrunks; ++t) {
        // The boxes are numbered downwards: "Trunk1" is Check29, "Trunk8" Check22.
        macTrunkBoxes[t] = checkBox(trunkCaption(t), QStringLiteral("Check%1").arg(29 - t), Frame9);
        grid->addWidget(macTrunkBoxes[t], t + 1, 0);
        for (int i = 0; i < kMacPortBoxes; ++i) {
            macPortBoxes[t][i] = checkBox(portBoxCaption(macPortUserIndex(t, i)),
                                          QStringLiteral("Check%1_%2").arg(30 + t).arg(i), Frame9);
            grid->addWidget(macPortBoxes[t][i], t + 1, 1 + i);
        }
    }

    Label6 = heading(T::kLoadBalancingMapping, tab);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label7 = new QLabel(QString::fromLatin1(T::kMacAddressBased), tab);
    Label7->setObjectName(QStringLiteral("Label7"));
    Combo1 = new QComboBox(tab);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (const char *name : hashMethodNames())
        Combo1->addItem(QString::fromLatin1(name));

    auto *hash = new QVBoxLayout;
    hash->addWidget(Label6);
    hash->addWidget(Label7);
    hash->addWidget(Combo1);
    hash->addStretch(1);
    auto *layout = new QHBoxLayout(tab);
    layout->addWidget(Frame9);
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
    connect(Option37, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            change([](TrunkBoard &b) { b.selectMethod(TrunkMethod::MacAddress); });
    });
    connect(Option38, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            change([](TrunkBoard &b) { b.selectMethod(TrunkMethod::PortBased); });
    });
    connect(SSTab2, &QTabWidget::currentChanged, this,
            [this](int tab) { change([tab](TrunkBoard &b) { b.showTab(tab); }); });
    connect(Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this,
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
        const QSignalBlocker block37(Option37);
        const QSignalBlocker block38(Option38);
        Option37->setAutoExclusive(false);
        Option38->setAutoExclusive(false);
        Option37->setChecked(s.method == TrunkMethod::MacAddress);
        Option38->setChecked(s.method == TrunkMethod::PortBased);
        Option37->setAutoExclusive(true);
        Option38->setAutoExclusive(true);
    }
    {
        const QSignalBlocker block(SSTab2);
        SSTab2->setCurrentIndex(s.shownTab);
    }
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(s.hashIndex);
    }
    Label7->setEnabled(s.hashEnabled);
    Combo1->setEnabled(s.hashEnabled);
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
