// Renders the properties dialog's port page, and optionally "Apply to Other Ports", to PNG files
// for the documentation:
//   properties_snapshot <port-page.png> [<apply-dialog.png>]
// Run it on a real display (or Xvfb); it is not part of the test suite.

#include "image/module1.h"
#include "image/port_word_codec.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/prompter.h"
#include "ui/properties/form2.h"
#include "ui/properties/form3.h"

#include <QApplication>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

namespace
{
bool save(QWidget &window, const char *path)
{
    QApplication::processEvents();
    if (window.grab().save(QString::fromLocal8Bit(path)))
        return true;
    std::fprintf(stderr, "cannot write %s\n", path);
    return false;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <port-page.png> [<apply-dialog.png>]\n", argv[0]);
        return 2;
    }
    Module1 module;
    module.applyStartupDefaults();
    module.Is32Port = true;
    // Port 1 forced to 100 Mbps full duplex, so the rate and duplex choice is open.
    PortWord::secondWord(module.PortWords, 1) = 0x4CDF;

    MessageBoxPrompter prompter;
    DialogFileChooser files;
    ModalDialogRunner dialogs;
    Form2 dialog(module, UiServices{prompter, files, dialogs});
    dialog.setWindowTitle(QStringLiteral("Properties of 32 Port N-Way Switch"));
    dialog.SSTab1->setCurrentIndex(0);
    dialog.show();
    if (!save(dialog, argv[1]))
        return 1;
    if (argc == 3) {
        module.ApplySourcePort = 0;
        Form3 apply(module, &dialog);
        apply.show();
        if (!save(apply, argv[2]))
            return 1;
    }
    return 0;
}
