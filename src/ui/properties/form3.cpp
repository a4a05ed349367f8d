#include "ui/properties/form3.h"

#include "image/port_word_codec.h"
#include "ui/dialog_buttons.h"
#include "ui/properties/properties_texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace T = PropertiesTexts;

Form3::Form3(Module1 &module, QWidget *parent) : QDialog(parent), module_(module)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QString::fromLatin1(T::kApplyTitle));

    Frame1 = new QGroupBox(QString::fromLatin1(T::kSelectTargetPorts), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *grid = new QGridLayout(Frame1);
    for (int i = 0; i < kUserPortCount; ++i) {
        Check2[i] = new QCheckBox(T::portCaption(i), Frame1);
        Check2[i]->setObjectName(QStringLiteral("Check2_%1").arg(i));
        grid->addWidget(Check2[i], i / 8, i % 8);
        connect(Check2[i], &QCheckBox::toggled, this, &Form3::updateOk);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    const OkCancel buttons = addOkCancel(*this, *layout, 1, 2);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &Form3::copySettings);
    connect(Command2, &QPushButton::clicked, this, &Form3::reject);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Ports 25..32 exist on the 32-port model only.
    for (int i = 24; i < kUserPortCount; ++i)
        Check2[i]->setEnabled(module_.Is32Port);
    // The source port is always among the targets (copying onto it changes nothing); its box
    // is locked after the model's rule, or that rule would unlock a source among ports 25..32.
    QCheckBox *source = Check2[module_.ApplySourcePort];
    source->setChecked(true);
    source->setEnabled(false);
    Command1->setEnabled(false);
}

void Form3::updateOk()
{
    // The box of user port 32 is not counted: with port 32 as the source, OK waits for another.
    int checked = 0;
    for (int i = 0; i < kUserPortCount - 1; ++i)
        checked += Check2[i]->isChecked() ? 1 : 0;
    Command1->setEnabled(checked > 0);
}

void Form3::copySettings()
{
    const int source = module_.PortMap[module_.ApplySourcePort];
    const quint16 first = PortWord::firstWord(module_.PortWords, source);
    const quint16 second = PortWord::secondWord(module_.PortWords, source);
    for (int i = 0; i < kUserPortCount; ++i) {
        if (!Check2[i]->isChecked())
            continue;
        const int target = module_.PortMap[i];
        PortWord::firstWord(module_.PortWords, target) = first;
        PortWord::secondWord(module_.PortWords, target) = second;
    }
    accept();
}
