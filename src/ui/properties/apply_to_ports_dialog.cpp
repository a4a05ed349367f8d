#include "ui/properties/apply_to_ports_dialog.h"

#include "image/device_models.h"
#include "image/port_word_codec.h"
#include "ui/dialog_buttons.h"
#include "ui/properties/properties_texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace T = PropertiesTexts;

ApplyToPortsDialog::ApplyToPortsDialog(ImageState &state, int sourcePort, QWidget *parent)
    : QDialog(parent), state_(state), sourcePort_(sourcePort)
{
    setObjectName(QStringLiteral("ApplyToPortsDialog"));
    setWindowTitle(QString::fromLatin1(T::kApplyTitle));

    targetFrame = new QGroupBox(QString::fromLatin1(T::kSelectTargetPorts), this);
    targetFrame->setObjectName(QStringLiteral("targetFrame"));
    auto *grid = new QGridLayout(targetFrame);
    for (int i = 0; i < kUserPortCount; ++i) {
        portBoxes[i] = new QCheckBox(T::portCaption(i), targetFrame);
        portBoxes[i]->setObjectName(QStringLiteral("portBox_%1").arg(i));
        grid->addWidget(portBoxes[i], i / 8, i % 8);
        connect(portBoxes[i], &QCheckBox::toggled, this, &ApplyToPortsDialog::updateOk);
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(targetFrame);
    const OkCancel buttons = addOkCancel(*this, *layout);
    okButton = buttons.ok;
    cancelButton = buttons.cancel;
    connect(okButton, &QPushButton::clicked, this, &ApplyToPortsDialog::copySettings);
    connect(cancelButton, &QPushButton::clicked, this, &ApplyToPortsDialog::reject);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Ports past the model's own (25..32 on the 24-port models) cannot be chosen.
    for (int i = 0; i < kUserPortCount; ++i)
        portBoxes[i]->setEnabled(i < state_.model().pagePorts);
    // The source port is always among the targets (copying onto it changes nothing); its box
    // is locked after the model's rule, or that rule would unlock a source among ports 25..32.
    QCheckBox *source = portBoxes[sourcePort_];
    source->setChecked(true);
    source->setEnabled(false);
    okButton->setEnabled(false);
}

void ApplyToPortsDialog::updateOk()
{
    // The box of user port 32 is not counted: with port 32 as the source, OK waits for another.
    int checked = 0;
    for (int i = 0; i < kUserPortCount - 1; ++i)
        checked += portBoxes[i]->isChecked() ? 1 : 0;
    okButton->setEnabled(checked > 0);
}

void ApplyToPortsDialog::copySettings()
{
    const int source = state_.portMap[sourcePort_];
    const quint16 first = PortWord::firstWord(state_.portWords, source);
    const quint16 second = PortWord::secondWord(state_.portWords, source);
    for (int i = 0; i < kUserPortCount; ++i) {
        if (!portBoxes[i]->isChecked())
            continue;
        const int target = state_.portMap[i];
        PortWord::firstWord(state_.portWords, target) = first;
        PortWord::secondWord(state_.portWords, target) = second;
    }
    accept();
}
