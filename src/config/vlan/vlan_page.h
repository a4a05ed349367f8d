#pragma once

#include <QWidget>

class Module1;
class QLabel;
class QPushButton;
class QTreeWidget;

// The "VLAN" page: the list of VLAN groups (Module1's group tables) with Add, Modify and Delete.
class VlanPage : public QWidget
{
    Q_OBJECT

public:
    explicit VlanPage(Module1 &module, QWidget *parent = nullptr);

    // One row per group of the tables, "Group1" first; Add while there are fewer than 32 groups,
    // Modify and Delete while there is one.
    void showGroups();
    // Every group goes, the rows from the last up.
    void removeAllGroups();

    QLabel *Label8 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QPushButton *Command15 = nullptr; // Add
    QPushButton *Command16 = nullptr; // Modify
    QPushButton *Command17 = nullptr; // Delete

private:
    Module1 &module_;
};
