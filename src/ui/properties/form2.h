#pragma once

#include "config/trunk/form4.h"
#include "config/trunk/trunk_board.h"
#include "ui/ui_services.h"

#include <QDialog>

#include <optional>

class Module1;
class PortPage;
class TrunkPage;
class VlanPage;
class QPushButton;
class QTabWidget;

// The properties dialog: pages "Port", " Trunk Assignment" and "VLAN", with OK and Cancel.
// Every opening is a new instance that decodes the configuration afresh while it is constructed;
// the pages write their edits through to Module1, OK commits them into the EEPROM image and
// Cancel (or closing the window) takes the port words back from it.
class Form2 : public QDialog, private TrunkPageHost, private MappingHost
{
    Q_OBJECT

public:
    Form2(Module1 &module, const UiServices &services, QWidget *parent = nullptr);

    enum Page { PortPageIndex = 0, TrunkPageIndex = 1, VlanPageIndex = 2 };

    QTabWidget *SSTab1 = nullptr;
    QPushButton *Command3 = nullptr; // OK
    QPushButton *Command4 = nullptr; // Cancel
    PortPage *portPage = nullptr;
    TrunkPage *trunkPage = nullptr;
    VlanPage *vlanPage = nullptr;

    // Decodes chip port `chipPort` into the port page.
    void ParseSetting(int chipPort);
    // The user port index shown on the port page; none when no port button is selected.
    std::optional<int> SearchOption() const;

public slots:
    // Cancel: the port words edited in place go back to what the image holds.
    void reject() override;

private:
    bool askYesNo(const QString &question) override;
    void showExclamation(const QString &text) override;
    void removeAllVlanGroups() override;
    void mappingConfirmed(int trunk) override;

    void load();
    void commit();
    void applyToOtherPorts();
    // Mapping button of port-based trunk `trunk` (0..7).
    void openMapping(int trunk);
    // Leaving the trunk page is refused while a port-based trunk in use lacks its mapping.
    void pageChanged(int page);
    // The refusal shared by OK and page changes: true when a mapping is unfinished.
    bool refuseUnfinishedMapping();

    Module1 &module_;
    UiServices services_;
};
