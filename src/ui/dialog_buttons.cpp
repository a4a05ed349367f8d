#include "ui/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

OkCancel addOkCancel(QDialog &dialog, QBoxLayout &layout)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    auto make = [&dialog, row](const char *caption, const char *name) {
        auto *button = new QPushButton(QString::fromLatin1(caption), &dialog);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        row->addWidget(button);
        return button;
    };
    const OkCancel buttons{make("OK", "okButton"), make("Cancel", "cancelButton")};
    // Enter presses OK wherever the focus is (no other button of a dialog takes Enter for
    // itself); Escape rejects the dialog, as Cancel does.
    buttons.ok->setDefault(true);
    layout.addLayout(row);
    return buttons;
}
