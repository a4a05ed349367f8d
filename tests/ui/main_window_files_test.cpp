#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/factory_image.h"
#include "support/files.h"
#include "support/image_file.h"
#include "support/image_builders.h"
#include "support/main_window_harness.h"
#include "support/small_disk.h"
#include "support/test_main.h"
#include "ui/main/main_window_texts.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using TestImages::validImage;

// Open and Save in the window: what they take, what they keep and how they fail.
class MainWindowFilesTest : public QObject
{
    Q_OBJECT

private slots:
    // Open takes a file of the selected model into the image, the port words following it; a
    // rejected or unreadable file leaves the image, an edited port word, the flags and the buttons
    // as they were. Save then writes the image as a file of the model: what was opened last,
    // never a rejected file; a failed save is reported.
    void openThenSave_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("loadedBefore");
        QTest::addColumn<QString>("file"); // "24", "32": a valid file of that model
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("saveTo");
        QTest::addColumn<QStringList>("messages"); // how the boxes shown start
        QTest::addColumn<QString>("reason");       // below the first one
        QTest::addColumn<QString>("source");       // what is loaded, in the end
        const QString contents = QStringLiteral(" Binary File Contents Error ! ");
        const auto row = [](const char *name, int model, bool loadedBefore, const char *file,
                            bool accepted, const char *saveTo, const QStringList &messages,
                            const char *reason = "", const char *source = "saved as out.bin") {
            QTest::newRow(name) << model << loadedBefore << QString(file) << accepted
                                << QString(saveTo) << messages << QString(reason)
                                << QString(source);
        };
        row("24-port, fresh start", 0, false, "24", true, "out.bin", {});
        row("32-port, after a load", 2, true, "32", true, "out.bin", {});
        row("all zero, fresh start", 1, false, "zero", false, "out.bin", {contents},
            "{dir}/in.bin does not hold a whole configuration image.", "none loaded");
        row("other model, after a load", 1, true, "32", false, "out.bin",
            {" Error ! This is not 24-Port,1000SX Binary File ! "},
            "{dir}/in.bin is a configuration of the 32 Port N-Way Switch.");
        row("a model word of no model", 0, false, "nomodel", false, "out.bin",
            {" Error ! This is not 24-Port Binary File ! "},
            "{dir}/in.bin names none of the three models.", "none loaded");
        row("missing file", 1, true, "missing", false, "out.bin", {"File Open Error !"});
        row("save into a missing folder", 0, false, "24", true, "no/such/out.bin",
            {"File Save Error !"}, "", "in.bin");
    }
    void openThenSave()
    {
        QFETCH(int, model);
        QFETCH(bool, loadedBefore);
        QFETCH(QString, file);
        QFETCH(bool, accepted);
        QFETCH(QString, saveTo);
        QFETCH(QStringList, messages);
        QFETCH(QString, reason);
        MainWindowHarness h;
        h.window.modelList->setCurrentIndex(model);
        QTemporaryDir dir;
        if (loadedBefore) {
            ImageWords before = validImage(model);
            before[1][16] = before[3][16] = 0x1234;
            h.files.paths.push_back(writeImageFile(dir, "before.bin", before, model));
            h.window.openConfiguration();
            h.state.portWords[0][0] = 0x0055; // an edit that must survive a rejected file
        }
        const ImageState before = h.state;
        ImageWords image = validImage(file == "32" ? 2 : 0);
        image[0][0] |= 0x8000; // cleared on loading
        QString path = dir.filePath("gone.bin");
        if (file == "24" || file == "32")
            path = writeImageFile(dir, "in.bin", image, file == "32" ? 2 : 0);
        else if (file == "zero")
            path = writeImageFile(dir, "in.bin", ImageWords{}, 1);
        else if (file == "nomodel") {
            ImageWords odd = image;
            odd[0][BinFile::kModelWord] = 0x1234;
            path = writeImageFile(dir, "in.bin", odd, 0);
        }
        h.files.paths.push_back(path);
        h.files.paths.push_back(dir.filePath(saveTo));

        h.window.openButton->click();
        h.window.saveButton->click();

        QCOMPARE(h.prompter.prompts.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            const Prompt &shown = h.prompter.prompts[i];
            QVERIFY2(shown.text.startsWith(messages[i]), qPrintable(shown.text));
            QCOMPARE(shown.icon, MessageIcon::Critical);
            QCOMPARE(shown.title, QStringLiteral("Device Configuration"));
        }
        image[0][0] &= 0x7FFF;
        if (model == 0)
            image[3] = before.eepromImage[3];
        const ImageWords &expected = accepted ? image : before.eepromImage;
        QVERIFY(h.state.eepromImage == expected);
        if (accepted) {
            QCOMPARE(h.state.portWords[1][3], image[1][16]);
            QCOMPARE(h.state.portWords[3][3], model == 2 ? image[3][16] : kDefaultSecondPortWord);
        } else {
            QVERIFY(h.state.portWords == before.portWords);
        }
        QCOMPARE(h.state.imageLoaded, accepted || loadedBefore);
        QCOMPARE(h.window.saveButton->isEnabled(), accepted || loadedBefore);
        QCOMPARE(h.window.writeButton->isEnabled(), accepted || loadedBefore);
        QCOMPARE(h.prompter.prompts.value(0).reason, reason.replace("{dir}", dir.path()));
        QTEST(h.window.sourceLine->text(), "source");
        // The status line says what the last command did, or repeats its failure and reason.
        const Prompt last = h.prompter.prompts.value(messages.size() - 1);
        QCOMPARE(h.window.statusLine->text(),
                 QFile::exists(dir.filePath(saveTo))
                     ? "Saved " + saveTo
                     : QString(last.text.trimmed() + ' ' + last.reason).trimmed());
        const QByteArray saved = fileBytes(dir.filePath(saveTo));
        QCOMPARE(QFile::exists(dir.filePath(saveTo)), h.state.imageLoaded && !saveTo.contains('/'));
        if (!saved.isEmpty()) {
            QCOMPARE(saved.size(), model == 0 ? 768 : 1024);
            QCOMPARE(quint8(saved[256 + 32]) << 8 | quint8(saved[256 + 33]), int(expected[1][16]));
        }
    }

    // A special file, a folder in a file's place, a read-only folder or a full disk: Open and Save
    // say so and change nothing, in the window or on disk; a FIFO neither blocks nor is replaced.
    void fileFaults_data()
    {
        QTest::addColumn<QString>("openTo"); // the path Open is given, "" for a good file
        QTest::addColumn<QString>("saveTo");
        QTest::addColumn<QString>("message");
        const QString openError = "File Open Error !\n{dir}/";
        const QString saveError = "File Save Error ! The file was not changed.\n{dir}/";
        QTest::newRow("open a FIFO") << "fifo"
                                     << "out.bin" << openError + "fifo: it is not a";
        QTest::newRow("open a file replaced by a folder")
            << "good.bin"
            << "out.bin" << openError + "good.bin: it is a folder";
        QTest::newRow("save onto a FIFO") << ""
                                          << "fifo" << saveError + "fifo: it is not a";
        QTest::newRow("save into a read-only folder") << ""
                                                      << "ro/out.bin" << saveError + "ro/out.bin: ";
        QTest::newRow("save onto a full disk") << ""
                                               << "full/out.bin" << saveError + "full/out.bin";
    }
    void fileFaults()
    {
        QFETCH(QString, openTo);
        QFETCH(QString, saveTo);
        QFETCH(QString, message);
        QTemporaryDir dir;
        MainWindowHarness h;
        h.files.paths = {writeImageFile(dir, "good.bin", validImage(1), 1)};
        h.window.openButton->click();
        QVERIFY(h.state.imageLoaded);
        const ImageWords before = h.state.eepromImage;
        QVERIFY(mkfifo(qPrintable(dir.filePath("fifo")), 0600) == 0);
        if (openTo == "good.bin")
            QVERIFY(QFile::remove(dir.filePath(openTo)) && QDir(dir.path()).mkdir(openTo));
        std::unique_ptr<SmallDisk> disk;
        if (saveTo.contains('/')) {
            disk = std::make_unique<SmallDisk>(dir.filePath(saveTo.section('/', 0, 0)),
                                               saveTo.startsWith("full"));
            if (!disk->problem.isEmpty())
                QSKIP(qPrintable(disk->problem));
        }

        if (!openTo.isEmpty()) {
            h.files.paths = {dir.filePath(openTo)};
            h.window.openButton->click();
        }
        h.files.paths = {dir.filePath(saveTo)};
        h.window.saveButton->click();

        const QString shown = h.prompter.texts().join('|');
        QVERIFY2(h.prompter.prompts.size() == 1 &&
                     shown.startsWith(QString(message).replace("{dir}", dir.path())),
                 qPrintable(shown));
        QVERIFY(h.state.eepromImage == before);
        QVERIFY(h.window.isEnabled() && h.window.saveButton->isEnabled());
        QCOMPARE(QFileInfo(dir.filePath("fifo")).isFile(), false);
        QVERIFY(!disk || fileBytes(dir.filePath(saveTo)) == "old");
    }
};

SWCFG_TEST_CLASS(MainWindowFilesTest)
#include "main_window_files_test.moc"
