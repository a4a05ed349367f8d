#include "config/trunk/form4.h"

#include "config/trunk/trunk_layout.h"
#include "config/trunk/trunk_texts.h"
#include "image/module1.h"
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

Form4::Form4(Module1 &module, MappingHost &host, Prompter &prompter, QWidget *parent)
    : QDialog(parent), module_(module), host_(host), prompter_(prompter)
{
    setObjectName(QStringLiteral("Form4"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false); // all four tabs in sight
    for (int tab = 0; tab < 4; ++tab)
        SSTab1->addTab(buildTab(tab), QString::fromLatin1(T::kMappingTabs[tab]));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    const OkCancel buttons = addOkCancel(*this, *layout, 2, 3);
    Command2 = buttons.ok;
    Command3 = buttons.cancel;
    connect(Command2, &QPushButton::clicked, this, &Form4::confirm);
    connect(Command3, &QPushButton::clicked, this, &Form4::reject);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    applyModel();
}

QWidget *Form4::buildTab(int tab)
{
    auto *page = new QWidget;
    Frame1[tab] = new QGroupBox(QString::fromLatin1(T::kMappingFrame) + QLatin1Char('1'), page);
    Frame1[tab]->setObjectName(QStringLiteral("Frame1_%1").arg(tab));
    auto *grid = new QGridLayout(Frame1[tab]);
    for (int m = 0; m < 4; ++m) {
        QLabel *&header = Label1[4 * tab + m];
        header = new QLabel(QStringLiteral("Port%1").arg(m + 1), Frame1[tab]);
        header->setObjectName(QStringLiteral("Label1_%1").arg(4 * tab + m));
        grid->addWidget(header, 0, 1 + m, Qt::AlignCenter);
    }
    for (int row = 0; row < 8; ++row) {
        const int p = 8 * tab + row;
        Label5[p] = new QLabel(TrunkLayout::portBoxCaption(p), Frame1[tab]);
        Label5[p]->setObjectName(QStringLiteral("Label5_%1").arg(p));
        grid->addWidget(Label5[p], 1 + row, 0);
        // Each row is a choice of its own.
        auto *choice = new QButtonGroup(Frame1[tab]);
        for (int m = 0; m < 4; ++m) {
            const int j = 4 * row + m;
            auto *option = new QRadioButton(Frame1[tab]);
            option->setObjectName(QStringLiteral("Option%1_%2").arg(tab + 1).arg(j));
            choice->addButton(option);
            options_[tab][j] = option;
            grid->addWidget(option, 1 + row, 1 + m, Qt::AlignCenter);
        }
    }
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(Frame1[tab]);
    return page;
}

bool Form4::moduleTabAvailable() const
{
    return SSTab1->isTabEnabled(3);
}

void Form4::applyModel()
{
    SSTab1->setTabEnabled(3, module_.Is32Port || module_.Is1000SX);
    for (int j = 8; j < 32; ++j)
        options_[3][j]->setVisible(!module_.Is1000SX);
    if (module_.Is1000SX) {
        // The module has two ports, 25 and 26.
        for (int p = 26; p < 32; ++p)
            Label5[p]->setText(QStringLiteral("      "));
        SSTab1->setTabText(3, QString::fromLatin1(T::kSxModuleTab));
    }
}

void Form4::LockMemberRow(int memberIndex, const QString &portName)
{
    const int p = portName.mid(4).trimmed().toInt() - 1;
    const int tab = p / 8;
    SSTab1->setCurrentIndex(tab);
    Label5[p]->setEnabled(false);
    const int base = 4 * (p % 8);
    for (int j = base; j < base + 4; ++j) {
        if (j % 4 == memberIndex)
            options_[tab][j]->setChecked(true);
        options_[tab][j]->setEnabled(false);
    }
    SSTab1->setCurrentIndex(0);
}

void Form4::DisableMemberColumn(int memberIndex)
{
    for (int k = 0; k < 4; ++k)
        Label1[memberIndex + 4 * k]->setEnabled(false);
    for (int r = 0; r < 8; ++r) {
        for (auto &tab : options_)
            tab[memberIndex + 4 * r]->setEnabled(false);
    }
}

void Form4::confirm()
{
    module_.MappingComplete = false;
    const int t = Frame1[0]->title().mid(5).trimmed().toInt() - 1;
    auto &mapping = module_.PortTrunkMapping[t];
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
    int ports = 24;
    if (module_.Is32Port)
        ports = 32;
    if (module_.Is1000SX)
        ports = 26;
    module_.MappingComplete = count == ports;
    if (!module_.MappingComplete) {
        // The choices made so far are kept in the table; the dialog stays open.
        prompter_.showMessage(QString::fromLatin1(T::kAssignEachMapping), MessageIcon::Exclamation);
        return;
    }
    accept();
    host_.mappingConfirmed(t);
}
