// Renders the properties dialog's pages and its sub-dialogs to PNG files for the documentation,
// on 32-port configurations with trunks and VLAN groups:
//   properties_snapshot <folder>
// It runs on any display, offscreen included; it is not part of the test suite.

#include "config/properties_codec.h"
#include "config/trunk/trunk_board.h"
#include "config/trunk/trunk_layout.h"
#include "image/device_models.h"
#include "image/image_state.h"
#include "image/port_map.h"
#include "image/port_word_codec.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/prompter.h"
#include "ui/properties/port_page.h"
#include "ui/properties/properties_dialog.h"
#include "ui/properties/trunk_page.h"
#include "ui/properties/vlan_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <cstdio>
#include <map>

namespace
{

QDir outputFolder;
bool failed = false;

void save(QWidget &window, const QString &name)
{
    QApplication::processEvents();
    const QString path = outputFolder.filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        failed = true;
    }
}

// Instead of running a sub-dialog, takes its picture.
class SnapshotRunner : public DialogRunner
{
public:
    int run(QDialog &dialog) override
    {
        static const std::map<QString, QString> names{
            {QStringLiteral("ApplyToPortsDialog"), QStringLiteral("apply-dialog")},
            {QStringLiteral("TrunkMappingDialog"), QStringLiteral("mapping-dialog")},
            {QStringLiteral("AddVlanGroupDialog"), QStringLiteral("add-group-dialog")},
            {QStringLiteral("ModifyVlanGroupDialog"), QStringLiteral("modify-group-dialog")}};
        dialog.show();
        const auto name = names.find(dialog.objectName());
        if (name != names.end())
            save(dialog, name->second);
        return QDialog::Rejected;
    }
};

// Three VLAN groups, the first and the last holding trunks 1 and 2.
void addGroups(ImageState &state)
{
    const std::initializer_list<std::initializer_list<int>> groupPorts{
        {5, 6, 7, 8}, {9, 10, 11, 12, 21, 22}, {17, 18, 25, 26}};
    for (const auto &ports : groupPorts) {
        for (int port : ports)
            state.vlanPortMember[state.vlanGroupCount][port - 1] = true;
        ++state.vlanGroupCount;
    }
    state.vlanTrunkMember[0][0] = true;
    state.vlanTrunkMember[2][1] = true;
}

void startConfiguration(ImageState &state)
{
    state = ImageState();
    state.applyStartupDefaults();
    state.setModel(Model32NWay);
    state.imageLoaded = true;
    PortNumbers::buildPortMaps(state);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    outputFolder = QDir(QString::fromLocal8Bit(argv[1]));
    MessageBoxPrompter prompter;
    DialogFileChooser files;
    SnapshotRunner dialogs;
    const UiServices services{prompter, files, dialogs};

    // MAC-address-based trunks 1 (ports 1 to 4) and 2 (13 to 16) hashing on the destination;
    // port 1 forced to 100 Mbps full duplex, so the rate and duplex choice is open.
    ImageState state;
    startConfiguration(state);
    PortWord::secondWord(state.portWords, 1) = 0x4CDF;
    TrunkBoard trunks;
    trunks.enableModuleTrunks(true);
    trunks.selectMethod(TrunkMethod::MacAddress);
    trunks.setMacTrunk(0, true);
    trunks.setMacTrunk(1, true);
    trunks.setHashIndex(2);
    addGroups(state);
    PropertiesCodec::encode(state, trunks.state());
    {
        PropertiesDialog dialog(state, services);
        dialog.setWindowTitle(QStringLiteral("Properties of 32 Port N-Way Switch"));
        dialog.show();
        const char *const pages[] = {"port-page", "trunk-page", "vlan-page"};
        for (int page = 0; page < 3; ++page) {
            dialog.pageTabs->setCurrentIndex(page);
            save(dialog, QString::fromLatin1(pages[page]));
        }
        dialog.portPage->applyButton->click();
        dialog.vlanPage->addButton->click();
        dialog.vlanPage->itemClicked(dialog.vlanPage->groupList->topLevelItem(0));
        dialog.vlanPage->modifyButton->click();
    }

    // Port-based trunk 1 of ports 1, 2 and 13, each port sending through a member of its own
    // parity; trunk 4 still without its mapping.
    startConfiguration(state);
    TrunkBoard portTrunks;
    portTrunks.enableModuleTrunks(true);
    portTrunks.selectMethod(TrunkMethod::PortBased);
    portTrunks.setPortTrunk(0, true);
    portTrunks.setMember(0, 3, false);
    for (int p = 0; p < 32; ++p) {
        const int member = p == 12 ? 2 : p % 2;
        state.portTrunkMapping[0][TrunkLayout::mappingTab(p)][TrunkLayout::mappingBox(p, member)] =
            true;
    }
    PropertiesCodec::encode(state, portTrunks.state());
    {
        PropertiesDialog dialog(state, services);
        dialog.setWindowTitle(QStringLiteral("Properties of 32 Port N-Way Switch"));
        dialog.show();
        dialog.pageTabs->setCurrentIndex(1);
        dialog.trunkPage->portTrunkBoxes[3]->setChecked(true);
        save(dialog, QStringLiteral("port-trunk-page"));
        dialog.trunkPage->mappingButtons[0]->click();
    }
    return failed ? 1 : 0;
}
