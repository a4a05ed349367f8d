#include "ui/properties/trunk_mapping_dialog.h"

#include "config/switch_configuration.h"
#include "config/trunk/trunk_layout.h"
#include "config/trunk/trunk_texts.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "ui/dialog_buttons.h"
#include "ui/prompter.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace T = TrunkTexts;

TrunkMappingDialog::TrunkMappingDialog(ImageState &state, MappingHost &host, Prompter &prompter,
                                       int trunk, QWidget *parent)
    : QDialog(parent), state_(state), host_(host), prompter_(prompter), trunk_(trunk)
{
    setObjectName(QStringLiteral("TrunkMappingDialog"));
    setWindowTitle(QString::fromLatin1(T::kMappingTitle) + QString::number(trunk_ + 1));
    portTabs = new QTabWidget(this);
    portTabs->setObjectName(QStringLiteral("portTabs"));
    portTabs->setUsesScrollButtons(false); // all four tabs in sight
    for (int tab = 0; tab < 4; ++tab)
        portTabs->addTab(buildTab(tab), QString::fromLatin1(T::kMappingTabs[tab]));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(portTabs);
    spreadButton = new QPushButton(QString::fromLatin1(T::kSpreadEvenly), this);
    spreadButton->setObjectName(QStringLiteral("spreadButton"));
    spreadButton->setAutoDefault(false);
    spreadButton->setToolTip(QString::fromLatin1(T::kSpreadEvenlyTip));
    connect(spreadButton, &QPushButton::clicked, this, &TrunkMappingDialog::spreadEvenly);
    layout->addWidget(spreadButton, 0, Qt::AlignLeft);
    const OkCancel buttons = addOkCancel(*this, *layout);
    okButton = buttons.ok;
    cancelButton = buttons.cancel;
    connect(okButton, &QPushButton::clicked, this, &TrunkMappingDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &TrunkMappingDialog::reject);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyModel();
}

QWidget *TrunkMappingDialog::buildTab(int tab)
{
    auto *page = new QWidget;
    trunkFrames[tab] =
        new QGroupBox(QString::fromLatin1(T::kMappingFrame) + QString::number(trunk_ + 1), page);
    trunkFrames[tab]->setObjectName(QStringLiteral("trunkFrame_%1").arg(tab));
    auto *grid = new QGridLayout(trunkFrames[tab]);
    for (int m = 0; m < 4; ++m) {
        QLabel *&header = memberHeaders[4 * tab + m];
        header = new QLabel(TrunkLayout::portBoxCaption(TrunkLayout::memberUserIndex(trunk_, m)),
                            trunkFrames[tab]);
        header->setObjectName(QStringLiteral("memberHeader_%1").arg(4 * tab + m));
        grid->addWidget(header, 0, 1 + m, Qt::AlignCenter);
    }
    for (int row = 0; row < 8; ++row) {
        const int p = 8 * tab + row;
        portLabels[p] = new QLabel(TrunkLayout::portBoxCaption(p), trunkFrames[tab]);
        portLabels[p]->setObjectName(QStringLiteral("portLabel_%1").arg(p));
        grid->addWidget(portLabels[p], 1 + row, 0);
        // Each row is a choice of its own.
        auto *choice = new QButtonGroup(trunkFrames[tab]);
        for (int m = 0; m < 4; ++m) {
            const int j = 4 * row + m;
            auto *option = new QRadioButton(trunkFrames[tab]);
            option->setObjectName(QStringLiteral("mappingOption_%1_%2").arg(tab).arg(j));
            choice->addButton(option);
            options_[tab][j] = option;
            grid->addWidget(option, 1 + row, 1 + m, Qt::AlignCenter);
        }
    }
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(trunkFrames[tab]);
    return page;
}

bool TrunkMappingDialog::moduleTabAvailable() const
{
    return portTabs->isTabEnabled(3);
}

void TrunkMappingDialog::applyModel()
{
    const DeviceModelInfo &model = state_.model();
    portTabs->setTabEnabled(3, model.hasModuleDevice());
    for (int j = 8; j < 32; ++j)
        options_[3][j]->setVisible(!model.hasGigabitModule());
    if (model.hasGigabitModule()) {
        // The module has two ports, 25 and 26.
        for (int p = 26; p < 32; ++p)
            portLabels[p]->setText(QStringLiteral("      "));
        portTabs->setTabText(3, QString::fromLatin1(T::kSxModuleTab));
    }
}

void TrunkMappingDialog::lockMemberRow(int memberIndex)
{
    const int p = TrunkLayout::memberUserIndex(trunk_, memberIndex);
    const int tab = TrunkLayout::mappingTab(p);
    portLabels[p]->setEnabled(false);
    const int base = TrunkLayout::mappingBox(p, 0);
    for (int j = base; j < base + 4; ++j) {
        if (j % 4 == memberIndex)
            options_[tab][j]->setChecked(true);
        options_[tab][j]->setEnabled(false);
    }
}

void TrunkMappingDialog::disableMemberColumn(int memberIndex)
{
    memberOpen_[memberIndex] = false;
    for (int k = 0; k < 4; ++k)
        memberHeaders[memberIndex + 4 * k]->setEnabled(false);
    for (int r = 0; r < 8; ++r) {
        for (auto &tab : options_)
            tab[memberIndex + 4 * r]->setEnabled(false);
    }
}

std::vector<int> TrunkMappingDialog::portsWithoutMember() const
{
    std::vector<int> without;
    for (int p = 0; p < switchPorts(state_); ++p) {
        bool chosen = false;
        for (int m = 0; m < 4; ++m)
            chosen = chosen || option(p, m)->isChecked();
        if (!chosen)
            without.push_back(p);
    }
    return without;
}

void TrunkMappingDialog::spreadEvenly()
{
    std::vector<int> members;
    for (int m = 0; m < 4; ++m) {
        if (memberOpen_[m])
            members.push_back(m);
    }
    if (members.empty())
        return;
    std::size_t next = 0;
    for (int p : portsWithoutMember())
        option(p, members[next++ % members.size()])->setChecked(true);
}

void TrunkMappingDialog::confirm()
{
    auto &mapping = state_.portTrunkMapping[trunk_];
    int count = 0;
    for (int tab = 0; tab < 4; ++tab) {
        mapping[tab].fill(false);
        if (tab == 3 && !moduleTabAvailable())
            continue;
        for (int j = 0; j < 32; ++j) {
            if (options_[tab][j]->isChecked()) {
                mapping[tab][j] = true;
                ++count;
            }
        }
    }
    if (count != switchPorts(state_)) {
        // The choices made so far are kept in the table; the dialog stays open and says which
        // ports still lack a member.
        QStringList ports;
        for (int p : portsWithoutMember())
            ports << QString::number(p + 1);
        prompter_.showMessageWithReason(QString::fromLatin1(T::kAssignEachMapping),
                                        MessageIcon::Exclamation,
                                        T::portsWithoutMember(ports.join(QStringLiteral(", "))));
        return;
    }
    accept();
    host_.mappingConfirmed(trunk_);
}
