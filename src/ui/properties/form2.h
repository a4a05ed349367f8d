#pragma once

#include "ui/ui_services.h"

#include <QDialog>

class Module1;
class QPushButton;
class QTabWidget;

// The properties dialog: pages "Port", " Trunk Assignment" and "VLAN", with OK and Cancel.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    Form2(Module1 &module, const UiServices &services, QWidget *parent = nullptr);

    QTabWidget *SSTab1 = nullptr;
    QPushButton *Command3 = nullptr; // OK
    QPushButton *Command4 = nullptr; // Cancel

private:
    Module1 &module_;
    UiServices services_;
};
