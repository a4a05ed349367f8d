#include "image/bin_file.h"
#include "image/device_models.h"
#include "support/image_builders.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"
#include "ui/properties/form2.h"

#include <QComboBox>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using TestImages::validImage;

namespace
{

QString writeImageFile(const QTemporaryDir &dir, const QString &name, const ImageWords &image,
                       int model)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(BinFile::encode(image, model));
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void startupState()
    {
        MainWindowHarness h;
        QCOMPARE(h.window.Combo1->count(), 3);
        QCOMPARE(h.window.Combo1->itemText(0), QStringLiteral("24 Port N-Way Switch"));
        QCOMPARE(h.window.Combo1->itemText(2), QStringLiteral("32 Port N-Way Switch"));
        QCOMPARE(h.window.Combo1->currentText(),
                 QStringLiteral("24 Port Switch,1000Base-SX On Board"));
        QCOMPARE(h.window.Combo2->count(), 8);
        QCOMPARE(h.window.Combo2->currentText(), QStringLiteral("1. COM1"));
        QCOMPARE(h.window.Combo2->itemText(7), QStringLiteral("8. COM8"));
        QCOMPARE(
            h.window.windowTitle(),
            QStringLiteral(
                "Device Configuration -- Configuration of 24 Port Switch,1000Base-SX On Board"));
        QVERIFY(!h.window.Command5->isEnabled());
        QVERIFY(!h.window.Command7->isEnabled());
        for (QPushButton *always :
             {h.window.Command8, h.window.Command3, h.window.Command2, h.window.Command9})
            QVERIFY(always->isEnabled());
        QVERIFY(h.window.ProgressBar1->isHidden());
        QCOMPARE(h.window.ProgressBar1->value(), 0);
        QCOMPARE(h.module.LastModel, 1);
        QVERIFY(!h.module.Is32Port);
        QVERIFY(!h.module.Is1000SX);
        QVERIFY(!h.module.ImageLoaded);
        QCOMPARE(h.module.PortWords[3][15], 19551);
        QVERIFY(h.prompter.prompts.isEmpty());
    }

    // Model selection with and without a confirmed properties change, answering Yes or No.
    void modelSelection_data()
    {
        QTest::addColumn<bool>("configChanged");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("newModel");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("expectedModel");
        QTest::addColumn<bool>("imageCleared");
        QTest::addColumn<bool>("buttonsEnabled");
        QTest::newRow("no change pending") << false << true << 2 << false << 2 << false << false;
        QTest::newRow("change pending, No") << true << false << 2 << true << 1 << false << true;
        QTest::newRow("change pending, Yes") << true << true << 0 << true << 0 << true << false;
    }
    void modelSelection()
    {
        QFETCH(bool, configChanged);
        QFETCH(bool, answer);
        QFETCH(int, newModel);
        QFETCH(bool, asked);
        QFETCH(int, expectedModel);
        QFETCH(bool, imageCleared);
        QFETCH(bool, buttonsEnabled);

        MainWindowHarness h;
        QTemporaryDir dir;
        h.files.openPaths.push_back(writeImageFile(dir, "sx.bin", validImage(1), 1));
        h.window.openConfiguration();
        QVERIFY(h.window.Command5->isEnabled());
        h.module.ConfigChanged = configChanged;
        h.module.VlanGroupCount = 3;
        h.prompter.answers.push_back(answer);

        h.window.Combo1->setCurrentIndex(newModel);

        QCOMPARE(h.prompter.prompts.size(), asked ? 1 : 0);
        if (asked) {
            const Prompt &question = h.prompter.prompts.constFirst();
            QVERIFY(question.question);
            QCOMPARE(question.text,
                     QStringLiteral("Changes not saved !  Do you want to quit settings ?"));
            QCOMPARE(question.title, QStringLiteral("Device Configuration"));
        }
        QCOMPARE(h.window.Combo1->currentIndex(), expectedModel);
        QCOMPARE(h.module.LastModel, expectedModel);
        QCOMPARE(h.module.Is32Port, expectedModel == 2);
        QCOMPARE(h.window.windowTitle(), deviceModelInfo(expectedModel).mainCaption);
        QCOMPARE(h.window.Command5->isEnabled(), buttonsEnabled);
        QCOMPARE(h.window.Command7->isEnabled(), buttonsEnabled);
        QCOMPARE(h.module.EepromImage[0][11], imageCleared ? 0 : 0xB1C0);
        QCOMPARE(h.module.VlanGroupCount, imageCleared ? 0 : 3);
        QCOMPARE(h.module.ConfigChanged, configChanged && !imageCleared);
    }

    void openAcceptsAFileOfTheModel_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("24-port") << 0;
        QTest::newRow("1000Base-SX") << 1;
        QTest::newRow("32-port") << 2;
    }
    void openAcceptsAFileOfTheModel()
    {
        QFETCH(int, model);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(model);
        QTemporaryDir dir;
        ImageWords image = validImage(model);
        image[0][0] |= 0x8000;
        h.files.openPaths.push_back(writeImageFile(dir, "ok.bin", image, model));

        h.window.Command3->click();

        QCOMPARE(h.files.filters, QStringList{QStringLiteral("Binary File (*.bin)|*.bin")});
        QVERIFY(h.prompter.prompts.isEmpty());
        QCOMPARE(h.module.EepromImage[0][0], image[0][0] & 0x7FFF);
        QCOMPARE(h.module.EepromImage[2], image[2]);
        QCOMPARE(h.module.EepromImage[3][5], model == 0 ? 0 : image[3][5]);
        QVERIFY(h.module.ImageLoaded);
        QVERIFY(h.window.Command5->isEnabled());
        QVERIFY(h.window.Command7->isEnabled());
        QCOMPARE(h.module.PortWords[1][3], image[1][16]);
        QCOMPARE(h.module.PortWords[3][3], model == 2 ? image[3][16] : 19551);
        QVERIFY(!h.module.ConfigChanged);
    }

    // A rejected or unreadable file leaves the image, the flags and the buttons as they were.
    void openRejectsAndKeepsEverything_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("loadedBefore");
        QTest::addColumn<QString>("message");
        const QString contents = QStringLiteral(" Binary File Contents Error ! ");
        const QString model = QStringLiteral(" Error ! This is not 24-Port,1000SX Binary File ! ");
        QTest::newRow("all zero, fresh start") << "zero" << false << contents;
        QTest::newRow("all zero, after a load") << "zero" << true << contents;
        QTest::newRow("other model, fresh start") << "model" << false << model;
        QTest::newRow("other model, after a load") << "model" << true << model;
        QTest::newRow("short file") << "short" << true << contents;
        QTest::newRow("missing file") << "missing" << true << QStringLiteral("File Open Error !");
        QTest::newRow("folder") << "folder" << true << QStringLiteral("File Open Error !");
    }
    void openRejectsAndKeepsEverything()
    {
        QFETCH(QString, kind);
        QFETCH(bool, loadedBefore);
        QFETCH(QString, message);
        MainWindowHarness h;
        QTemporaryDir dir;
        if (loadedBefore) {
            h.files.openPaths.push_back(writeImageFile(dir, "good.bin", validImage(1), 1));
            h.window.openConfiguration();
            h.module.PortWords[0][0] = 0x0055; // an edit that must survive
        }
        const ImageWords imageBefore = h.module.EepromImage;
        const auto portWordsBefore = h.module.PortWords;

        QString path;
        if (kind == "zero")
            path = writeImageFile(dir, "zero.bin", ImageWords{}, 1);
        else if (kind == "model")
            path = writeImageFile(dir, "other.bin", validImage(2), 2);
        else if (kind == "short")
            path = writeImageFile(dir, "short.bin", validImage(1), 0);
        else if (kind == "missing")
            path = dir.filePath("gone.bin");
        else
            path = dir.path();
        if (kind == "short") {
            QFile file(path);
            QVERIFY(file.resize(200));
        }
        h.files.openPaths.push_back(path);

        h.window.Command3->click();

        QCOMPARE(h.prompter.prompts.size(), 1);
        const Prompt &shown = h.prompter.prompts.constFirst();
        QVERIFY2(shown.text.startsWith(message), qPrintable(shown.text));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QCOMPARE(shown.title, QStringLiteral("Device Configuration"));
        QVERIFY(h.module.EepromImage == imageBefore);
        QVERIFY(h.module.PortWords == portWordsBefore);
        QCOMPARE(h.module.ImageLoaded, loadedBefore);
        QCOMPARE(h.window.Command5->isEnabled(), loadedBefore);
        QCOMPARE(h.window.Command7->isEnabled(), loadedBefore);
    }

    void cancelledDialogsDoNothing()
    {
        MainWindowHarness h;
        h.window.Command3->click(); // no path scripted: cancelled
        h.window.Command5->setEnabled(true);
        h.window.Command5->click();
        QVERIFY(h.prompter.prompts.isEmpty());
        QVERIFY(!h.module.ImageLoaded);
        QVERIFY(h.window.Command5->isEnabled());
    }

    void saveWritesTheModelsBlocks_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("size");
        QTest::newRow("24-port") << 0 << 768;
        QTest::newRow("1000Base-SX") << 1 << 1024;
        QTest::newRow("32-port") << 2 << 1024;
    }
    void saveWritesTheModelsBlocks()
    {
        QFETCH(int, model);
        QFETCH(int, size);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(model);
        QTemporaryDir dir;
        h.files.openPaths.push_back(writeImageFile(dir, "in.bin", validImage(model), model));
        h.window.Command3->click();
        h.module.EepromImage[1][7] = 0x1234;
        const QString out = dir.filePath("out.bin");
        h.files.savePaths.push_back(out);
        h.window.Command5->click();

        QVERIFY(h.prompter.prompts.isEmpty());
        QVERIFY(h.window.Command5->isEnabled());
        const QByteArray bytes = fileBytes(out);
        QCOMPARE(bytes.size(), size);
        QCOMPARE(bytes.mid(256 + 14, 2), QByteArray("\x12\x34", 2));
        QCOMPARE(bytes, BinFile::encode(h.module.EepromImage, model));
    }

    void failedSaveShowsAMessage()
    {
        MainWindowHarness h;
        h.window.Command5->setEnabled(true);
        QTemporaryDir dir;
        h.files.savePaths.push_back(dir.filePath("no/such/folder/out.bin"));
        h.window.Command5->click();
        QCOMPARE(h.prompter.prompts.size(), 1);
        QVERIFY(h.prompter.prompts[0].text.startsWith(QStringLiteral("File Save Error !")));
        QCOMPARE(h.prompter.prompts[0].icon, MessageIcon::Critical);
        QCOMPARE(h.prompter.prompts[0].title, QStringLiteral("Device Configuration"));
        QVERIFY(h.window.Command5->isEnabled());
    }

    // The dialog caption follows the model, or keeps the main caption after a confirmed change.
    void propertiesCaptionAndFlags_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<bool>("configChanged");
        QTest::addColumn<QString>("caption");
        QTest::newRow("24-port") << 0 << false << "Properties of 24 Port N-Way Switch";
        QTest::newRow("1000Base-SX")
            << 1 << false << "Properties of 24 Port Switch, 1000Base-SX On Board";
        QTest::newRow("32-port") << 2 << false << "Properties of 32 Port N-Way Switch";
        QTest::newRow("1000Base-SX after a change")
            << 1 << true
            << "Device Configuration -- Configuration of 24 Port Switch,1000Base-SX On Board";
        QTest::newRow("32-port after a change")
            << 2 << true << "Device Configuration -- Configuration of 32 Port N-Way Switch";
    }
    void propertiesCaptionAndFlags()
    {
        QFETCH(int, model);
        QFETCH(bool, configChanged);
        QFETCH(QString, caption);
        MainWindowHarness h;
        h.window.Combo1->setCurrentIndex(model);
        h.module.ConfigChanged = configChanged;
        QString shownCaption;
        int shownTab = -1;
        bool is32Port = false;
        bool is1000Sx = false;
        h.dialogs.actions.push_back([&](QDialog &dialog) {
            auto &form2 = dynamic_cast<Form2 &>(dialog);
            shownCaption = form2.windowTitle();
            shownTab = form2.SSTab1->currentIndex();
            is32Port = h.module.Is32Port;
            is1000Sx = h.module.Is1000SX;
            form2.Command4->click();
        });

        h.window.Command2->click();

        QCOMPARE(h.dialogs.runs, 1);
        QCOMPARE(shownCaption, caption);
        QCOMPARE(shownTab, 0);
        QCOMPARE(is32Port, model == 2);
        QCOMPARE(is1000Sx, model == 1);
    }

    void exitClosesTheWindow()
    {
        MainWindowHarness h;
        h.window.show();
        QVERIFY(h.window.isVisible());
        h.window.Command9->click();
        QVERIFY(!h.window.isVisible());
        QVERIFY(h.prompter.prompts.isEmpty());
    }
};

SWCFG_TEST_CLASS(Form1Test)
#include "form1_test.moc"
