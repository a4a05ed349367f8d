#pragma once

#include "ui/ui_services.h"

#include <QWidget>

class Module1;
class TrunkBoard;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The "VLAN" page: the list of VLAN groups (Module1's group tables) with Add, Modify and Delete.
// Rows are named by position, "Group1" first; deleting a group moves the later groups' data up.
// The group dialogs work on this page: it is what they know of the properties dialog.
class VlanPage : public QWidget
{
    Q_OBJECT

public:
    VlanPage(Module1 &module, const TrunkBoard &trunks, const UiServices &services,
             QWidget *parent = nullptr);

    // One row per group of the tables; Add while there are fewer than 32 groups, Modify and
    // Delete while there is one.
    void showGroups();
    // Every group goes, the rows from the last up.
    void removeAllGroups();
    // Shown again: groups lose the trunks no longer in use and the ports that became trunk
    // members, and the rows show what is left.
    void RefreshVLANGroupList();

    // The row of group `number` (1-based) takes the group's texts, becomes the current row and is
    // scrolled into view. False (after saying so) when no row has that group's name.
    bool showGroupRow(int number);

    void itemClicked(QTreeWidgetItem *item);
    void doubleClicked();
    void addGroup();
    void modifyGroup();
    void deleteGroup();

    QLabel *Label8 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QPushButton *Command15 = nullptr; // Add
    QPushButton *Command16 = nullptr; // Modify
    QPushButton *Command17 = nullptr; // Delete

    Module1 &module() { return module_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool selectionValid() const;
    void openModify();

    Module1 &module_;
    const TrunkBoard &trunks_;
    UiServices services_;
};
