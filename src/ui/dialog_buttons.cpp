#include "ui/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

OkCancel addOkCancel(QDialog &dialog, QBoxLayout &layout, int okNumber, int cancelNumber)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    auto make = [&dialog, row](const char *caption, int number) {
        auto *button = new QPushButton(QString::fromLatin1(caption), &dialog);
        button->setObjectName(QStringLiteral("Command%1").arg(number));
        button->setAutoDefault(false);
        row->addWidget(button);
        return button;
    };
    const OkCancel buttons{make("OK", okNumber), make("Cancel", cancelNumber)};
    layout.addLayout(row);
    return buttons;
}
