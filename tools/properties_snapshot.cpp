// Renders the properties dialog's pages and "Apply to Other Ports" to PNG files for the
// documentation, on a 32-port configuration with trunks and VLAN groups:
//   properties_snapshot <folder>
// writes port-page.png, trunk-page.png, vlan-page.png and apply-dialog.png there. It runs on any
// display, offscreen included; it is not part of the test suite.

#include "config/properties_codec.h"
#include "config/trunk/trunk_board.h"
#include "config/trunk/trunk_page.h"
#include "image/module1.h"
#include "image/port_map.h"
#include "image/port_word_codec.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/prompter.h"
#include "ui/properties/form2.h"
#include "ui/properties/form3.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

namespace
{

bool save(QWidget &window, const QDir &folder, const char *name)
{
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (window.grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// MAC-address-based trunks 1 (ports 1 to 4) and 2 (13 to 16) hashing on the destination, and
// three VLAN groups, two of them holding a trunk.
void sampleConfiguration(Module1 &module)
{
    module.applyStartupDefaults();
    module.Is32Port = true;
    module.ImageLoaded = true;
    PortNumbers::buildPortMaps(module);
    // Port 1 forced to 100 Mbps full duplex, so the rate and duplex choice is open.
    PortWord::secondWord(module.PortWords, 1) = 0x4CDF;
    TrunkBoard trunks;
    trunks.enableModuleTrunks(true);
    trunks.selectMethod(TrunkMethod::MacAddress);
    trunks.setMacTrunk(0, true);
    trunks.setMacTrunk(1, true);
    trunks.setHashIndex(2);
    const std::initializer_list<std::initializer_list<int>> groupPorts{
        {5, 6, 7, 8}, {9, 10, 11, 12, 21, 22}, {17, 18, 25, 26}};
    for (const auto &ports : groupPorts) {
        for (int port : ports)
            module.VlanPortMember[module.VlanGroupCount][port - 1] = true;
        ++module.VlanGroupCount;
    }
    module.VlanTrunkMember[0][0] = true;
    module.VlanTrunkMember[2][1] = true;
    PropertiesCodec::encode(module, trunks.state());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    Module1 module;
    sampleConfiguration(module);

    MessageBoxPrompter prompter;
    DialogFileChooser files;
    ModalDialogRunner dialogs;
    Form2 dialog(module, UiServices{prompter, files, dialogs});
    dialog.setWindowTitle(QStringLiteral("Properties of 32 Port N-Way Switch"));
    dialog.show();
    const char *const pages[] = {"port-page.png", "trunk-page.png", "vlan-page.png"};
    for (int page = 0; page < 3; ++page) {
        dialog.SSTab1->setCurrentIndex(page);
        if (!save(dialog, folder, pages[page]))
            return 1;
    }
    module.ApplySourcePort = 0;
    Form3 apply(module, &dialog);
    apply.show();
    return save(apply, folder, "apply-dialog.png") ? 0 : 1;
}
