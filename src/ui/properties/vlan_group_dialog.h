#pragma once

#include "image/image_state.h"

#include <QDialog>

#include <array>

class Prompter;
class VlanPage;
struct TrunkPageState;
class QCheckBox;
class QGroupBox;
class QPushButton;

// The layout and rules that adding and modifying a VLAN group share: a box per port and per
// trunk, the ones a group may not hold disabled, and OK once two boxes are checked (a group needs
// two members; checked boxes count when disabled too). Only enabled boxes make the group.
class VlanGroupDialog : public QDialog
{
    Q_OBJECT

public:
    QGroupBox *portFrame = nullptr; // "Individual Port"
    std::array<QCheckBox *, kUserPortCount> portBoxes{};
    QGroupBox *trunkFrame = nullptr; // "Trunk"
    std::array<QCheckBox *, kTrunkCount> trunkBoxes{};
    QPushButton *okButton = nullptr;     // OK
    QPushButton *cancelButton = nullptr; // Cancel

protected:
    VlanGroupDialog(VlanPage &page, const TrunkPageState &trunks, Prompter &prompter,
                    const QString &title, QWidget *parent);
    // Group `group` (0-based) becomes what the enabled, checked boxes say.
    void takeMembers(int group);
    virtual void confirm() = 0;

    VlanPage &page_;
    ImageState &state_;
    Prompter &prompter_;

private:
    void updateOk();
};

// "Add a new VLAN Group": OK adds the group after the last one.
class AddVlanGroupDialog : public VlanGroupDialog
{
    Q_OBJECT

public:
    AddVlanGroupDialog(VlanPage &page, const TrunkPageState &trunks, Prompter &prompter,
                       QWidget *parent = nullptr);

private:
    void confirm() override;
};

// "Modify the VLAN Group": OK changes the selected group.
class ModifyVlanGroupDialog : public VlanGroupDialog
{
    Q_OBJECT

public:
    ModifyVlanGroupDialog(VlanPage &page, const TrunkPageState &trunks, Prompter &prompter,
                          QWidget *parent = nullptr);

private:
    void confirm() override;
};
