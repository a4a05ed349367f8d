// Renders the main window to PNG files for the documentation:
//   main_window_snapshot <folder>
// main-window.png: a configuration opened from a file, with a console server's port typed into the
// port list; writing.png: the window during a Write to a simulated switch, Stop at hand. It runs
// on any display, offscreen included; it is not part of the test suite.

#include "image/bin_file.h"
#include "image/factory_image.h"
#include "image/image_state.h"
#include "launcher/sim_process.h"
#include "link/com_ports.h"
#include "link/link_clock.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/main/main_window.h"
#include "ui/main/port_list_box.h"
#include "ui/prompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

// No box is wanted in a picture; what would be said goes to standard error.
class QuietPrompter : public Prompter
{
public:
    void showMessage(const QString &text, MessageIcon, const QString &) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, const QString &) override { return false; }
};

// Every Open is given the same file.
class OneFileChooser : public FileChooser
{
public:
    explicit OneFileChooser(QString path) : path_(std::move(path)) {}
    QString chooseOpenPath(const QString &, const QString &) override { return path_; }
    QString chooseSavePath(const QString &, const QString &) override { return QString(); }

private:
    QString path_;
};

bool save(QWidget &window, const QDir &folder, const char *name)
{
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    if (window.grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: main_window_snapshot <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work;
    const QString file = work.filePath(QStringLiteral("factory-24sx.bin"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(BinFile::encode(factoryImage(1), 1)) < 0)
        return 1;
    out.close();

    // "1. COM1" leads to a simulated 1000Base-SX switch that answers at true line speed.
    SimProcess sim;
    if (!sim.start({QStringLiteral("--model"), QStringLiteral("1"), QStringLiteral("--pace")})) {
        std::fprintf(stderr, "%s\n", qPrintable(sim.errorString()));
        return 1;
    }
    qputenv(qPrintable(comPortVariable(1)), sim.linkPath().toLocal8Bit());

    ImageState state;
    QuietPrompter prompter;
    OneFileChooser files(file);
    ModalDialogRunner dialogs;
    EventLoopClock clock;
    MainWindow window(state, UiServices{prompter, files, dialogs},
                      SwitchAccess{deviceLineFactory(), clock, {}});
    window.show();
    window.openConfiguration();
    bool saved = true;
    bool taken = false;
    QObject::connect(window.progressBar, &QProgressBar::valueChanged, [&](int value) {
        if (taken || value < 41 || !window.progressBar->format().startsWith("Writing device 2"))
            return;
        taken = true;
        saved = save(window, folder, "writing") && saved;
        window.stopButton->click();
    });
    window.writeButton->click();

    window.portList->setEditText(QStringLiteral("rfc2217://console1:4001"));
    window.portList->takeTypedEntry();
    window.openConfiguration();
    saved = save(window, folder, "main-window") && saved;
    return saved && taken ? 0 : 1;
}
