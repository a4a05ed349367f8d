#include "ui/properties/form2.h"

#include "image/module1.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

Form2::Form2(Module1 &module, const UiServices &services, QWidget *parent)
    : QDialog(parent), module_(module), services_(services)
{
    setObjectName(QStringLiteral("Form2"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(new QWidget(SSTab1), QStringLiteral("Port"));
    SSTab1->addTab(new QWidget(SSTab1), QStringLiteral(" Trunk Assignment"));
    SSTab1->addTab(new QWidget(SSTab1), QStringLiteral("VLAN"));

    Command3 = new QPushButton(QStringLiteral("OK"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4 = new QPushButton(QStringLiteral("Cancel"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    connect(Command3, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command4, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);
}
