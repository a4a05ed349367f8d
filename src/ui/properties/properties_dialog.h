#pragma once

#include "config/trunk/trunk_board.h"
#include "ui/properties/trunk_mapping_dialog.h"
#include "ui/ui_services.h"

#include <QDialog>

#include <optional>

class ImageState;
class PortPage;
class TrunkPage;
class VlanPage;
class QPushButton;
class QTabWidget;

// The properties dialog: pages "Port", " Trunk Assignment" and "VLAN", with OK and Cancel.
// Every opening is a new instance that decodes the configuration afresh while it is constructed;
// the pages write their edits through to ImageState, OK commits them into the EEPROM image and
// Cancel (or closing the window) takes the port words back from it.
class PropertiesDialog : public QDialog, private TrunkPageHost, private MappingHost
{
    Q_OBJECT

public:
    PropertiesDialog(ImageState &state, const UiServices &services, QWidget *parent = nullptr);

    enum Page { PortPageIndex = 0, TrunkPageIndex = 1, VlanPageIndex = 2 };

    QTabWidget *pageTabs = nullptr;
    QPushButton *okButton = nullptr;     // OK
    QPushButton *cancelButton = nullptr; // Cancel
    PortPage *portPage = nullptr;
    TrunkPage *trunkPage = nullptr;
    VlanPage *vlanPage = nullptr;

    // The user port index shown on the port page; none when no port button is selected.
    std::optional<int> selectedPortIndex() const;

public slots:
    // Cancel: the port words edited in place go back to what the image holds.
    void reject() override;

private:
    bool askYesNo(const QString &question, const QString &consequence) override;
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

    ImageState &state_;
    UiServices services_;
};
