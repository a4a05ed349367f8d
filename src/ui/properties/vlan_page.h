#pragma once

#include "ui/ui_services.h"

#include <QWidget>

class ImageState;
class TrunkBoard;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The "VLAN" page: the list of VLAN groups (ImageState's group tables) with Add, Modify and Delete.
// Rows are named by position, "Group1" first; deleting a group moves the later groups' data up.
// The group dialogs work on this page: it is what they know of the properties dialog.
class VlanPage : public QWidget
{
    Q_OBJECT

public:
    VlanPage(ImageState &state, const TrunkBoard &trunks, const UiServices &services,
             QWidget *parent = nullptr);

    // One row per group of the tables, and the buttons that fit them.
    void showGroups();
    // The row of group `group` (0-based), not yet in the list.
    QTreeWidgetItem *groupRow(int group) const;
    // Add while there are fewer than 32 groups, Modify and Delete while there is one.
    void showButtons();
    // Every group goes, the rows from the last up.
    void removeAllGroups();
    // Shown again: groups lose the trunks no longer in use and the ports that became trunk
    // members, and the rows show what is left.
    void refreshVlanGroupList();

    // The row of group `number` (1-based) takes the group's texts, becomes the current row and is
    // scrolled into view. False (after saying so) when there is no such row.
    bool showGroupRow(int number);

    void itemClicked(QTreeWidgetItem *item);
    void doubleClicked();
    void addGroup();
    void modifyGroup();
    void deleteGroup();

    QLabel *groupListLabel = nullptr;
    QTreeWidget *groupList = nullptr;
    QPushButton *addButton = nullptr;    // Add
    QPushButton *modifyButton = nullptr; // Modify
    QPushButton *deleteButton = nullptr; // Delete

    ImageState &state() { return state_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool selectionValid() const;
    // No row highlighted or selected (and so no group for Modify and Delete).
    void clearHighlight();
    void openModify();

    ImageState &state_;
    const TrunkBoard &trunks_;
    UiServices services_;
};
