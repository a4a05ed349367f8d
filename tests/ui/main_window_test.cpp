#include "image/device_models.h"
#include "image/factory_image.h"
#include "support/files.h"
#include "support/image_file.h"
#include "support/image_builders.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"
#include "ui/main/main_window_texts.h"
#include "ui/main/port_list_box.h"
#include "ui/preferences.h"
#include "ui/properties_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>


using TestImages::validImage;

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // Model selection after an Open, with and without a confirmed properties change, answering
    // Yes or No. The image stays unless a change was given up; Save and Write wait for the next
    // Open or Read whenever the model changed.
    void modelSelection_data()
    {
        QTest::addColumn<int>("fromModel");
        QTest::addColumn<bool>("configChanged");
        QTest::addColumn<bool>("saved"); // the confirmed change was saved since
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("newModel");
        QTest::addColumn<int>("expectedModel");
        QTest::addColumn<bool>("imageCleared");
        QTest::addColumn<bool>("buttonsEnabled");
        QTest::newRow("1 to 2, no change pending")
            << 1 << false << false << true << 2 << 2 << false << false;
        QTest::newRow("0 to 2, no change pending")
            << 0 << false << false << true << 2 << 2 << false << false;
        QTest::newRow("change pending, No")
            << 1 << true << false << false << 2 << 1 << false << true;
        QTest::newRow("change pending, Yes")
            << 1 << true << false << true << 0 << 0 << true << false;
        // Nothing to lose: no question, the change goes ahead as after Yes.
        QTest::newRow("change saved") << 1 << true << true << false << 0 << 0 << true << false;
    }
    void modelSelection()
    {
        QFETCH(int, fromModel);
        QFETCH(bool, configChanged);
        QFETCH(bool, saved);
        QFETCH(bool, answer);
        QFETCH(int, newModel);
        QFETCH(int, expectedModel);
        QFETCH(bool, imageCleared);
        QFETCH(bool, buttonsEnabled);
        MainWindowHarness h;
        h.window.modelList->setCurrentIndex(fromModel);
        QTemporaryDir dir;
        h.files.paths.push_back(writeImageFile(dir, "in.bin", validImage(fromModel), fromModel));
        h.window.openConfiguration();
        const ImageWords opened = h.state.eepromImage;
        QVERIFY(h.state.imageLoaded);
        h.state.configChanged = configChanged;
        h.state.unsavedChanges = configChanged && !saved;
        h.state.propertiesApplied = configChanged;
        h.state.vlanGroupCount = 3;
        h.prompter.answers.push_back(answer);

        h.window.modelList->setCurrentIndex(newModel);

        const QString question =
            QStringLiteral("Changes not saved !  Do you want to quit settings ?");
        QCOMPARE(h.prompter.texts(),
                 configChanged && !saved ? QStringList{question} : QStringList{});
        QCOMPARE(h.window.sourceLine->text(), imageCleared ? "none loaded" : "in.bin");
        QCOMPARE(h.window.modelList->currentIndex(), expectedModel);
        QCOMPARE(h.state.lastModel, expectedModel);
        QCOMPARE(h.state.model().index, expectedModel);
        QCOMPARE(h.window.windowTitle(), deviceModelInfo(expectedModel).mainCaption);
        QCOMPARE(h.window.saveButton->isEnabled(), buttonsEnabled);
        QCOMPARE(h.window.writeButton->isEnabled(), buttonsEnabled);
        QVERIFY(h.state.eepromImage == (imageCleared ? ImageWords{} : opened));
        QCOMPARE(h.state.vlanGroupCount, imageCleared ? 0 : 3);
        QCOMPARE(h.state.configChanged, configChanged && !imageCleared);
        QCOMPARE(h.state.propertiesApplied, configChanged && !imageCleared);
        QVERIFY(h.state.imageLoaded);
        QCOMPARE(h.state.portWords[0][1], imageCleared ? kDefaultSecondPortWord : opened[0][14]);
    }

    // The port list: COM1 to COM8, then the devices found that none of them opens, numbered on
    // and asked again each time the list opens, then the last 8 ports used. The model, the port
    // (by its device, listed on its own when unplugged), the ports used, the folder of the last
    // Open or Save and the window's place come back; a port named in the environment wins.
    void portListAndPreferences()
    {
        QTemporaryDir dir;
        std::vector<SerialDeviceInfo> found{{"ttyS0", "/dev/ttyS0"},
                                            {"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART"}};
        const SerialDeviceCatalogue catalogue = [&found] { return found; };
        const auto entries = [](const QComboBox *list) {
            QStringList all;
            for (int i = 8; i < list->count(); ++i)
                all << list->itemText(i);
            return all.join('|');
        };
        Preferences preferences(dir.filePath("swcfg.ini"));
        {
            MainWindowHarness h(&preferences, catalogue);
            QCOMPARE(h.window.portList->itemText(7), "8. COM8");
            QCOMPARE(h.window.portList->itemData(0, Qt::ToolTipRole), "Opens /dev/ttyS0");
            QCOMPARE(entries(h.window.portList), "9. ttyUSB0 - FT232R USB UART");
            h.window.portList->setCurrentIndex(8);
            found.insert(found.begin(), {"ttyACM0", "/dev/ttyACM0"}); // plugged in now
            h.window.portList->showPopup();
            h.window.portList->hidePopup();
            QCOMPARE(entries(h.window.portList), "9. ttyACM0|10. ttyUSB0 - FT232R USB UART");
            QCOMPARE(h.window.portList->currentIndex(), 9);
            for (const QString port :
                 {"/no/ttyQ1", "/no/ttyQ2", "/no/ttyQ3", "/no/ttyQ4", "/no/ttyQ5", "/no/ttyQ6",
                  "/no/ttyQ7", "/no/ttyQ8", "ttyUSB0"}) {
                h.window.portList->setEditText(port); // typed, and used at once
                h.window.readButton->click();
            }
            h.window.modelList->setCurrentIndex(2);
            h.files.paths = {writeImageFile(dir, "a.bin", validImage(2), 2)};
            h.window.openButton->click();
            QCOMPARE(h.window.statusLine->text(), "Opened a.bin");
            h.window.move(123, 45);
            QVERIFY(h.window.close());
        }
        QCOMPARE(preferences.recentPorts().size(), 8);
        found.pop_back(); // ttyUSB0 unplugged
        {
            MainWindowHarness h(&preferences, catalogue);
            QCOMPARE(h.window.modelList->currentIndex(), 2);
            QCOMPARE(h.window.portList->device(), "/dev/ttyUSB0");
            QCOMPARE(entries(h.window.portList), "9. ttyACM0|10. /dev/ttyUSB0|11. /no/ttyQ8|12. "
                                                 "/no/ttyQ7|13. /no/ttyQ6|14. /no/ttyQ5|15. "
                                                 "/no/ttyQ4|16. /no/ttyQ3|17. /no/ttyQ2");
            QVERIFY((h.window.pos() - QPoint(123, 45)).manhattanLength() <= 4); // frame aside
            h.window.openButton->click();
            QCOMPARE(h.files.folders, QStringList{dir.path()});
        }
        qputenv("SWCFG_COM2", "/tmp/ttyX");
        MainWindowHarness h(&preferences, catalogue);
        qunsetenv("SWCFG_COM2");
        QCOMPARE(h.window.portList->currentIndex(), 1);
        QCOMPARE(h.window.portList->itemData(1, Qt::ToolTipRole),
                 "Opens /tmp/ttyX (named by SWCFG_COM2)");
        QCOMPARE(preferences.portDevice(), "/dev/ttyUSB0"); // still the one chosen
    }

    // A port typed into the list, taken with Enter (or by Read): a COM name, a name the system
    // lists, a device path or a console server's port is selected; anything else is refused with
    // the reason, the port selected before staying.
    void typedPorts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("selected"); // the entry then, or the message
        const auto row = [](const char *typed, const char *selected) {
            QTest::newRow(typed) << typed << selected;
        };
        row("com3", "3. COM3");
        row("COM8", "8. COM8");
        row("ttyUSB0", "9. ttyUSB0 - FT232R USB UART"); // a name the system lists
        row("/dev/ttyACM7", "10. /dev/ttyACM7");
        row("Rfc2217://console:4002", "10. Rfc2217://console:4002");
        row("COM9", "'COM9' is not a port (COM1 to COM8 or a device path).");
        row("rfc2217://h:1/x", "'rfc2217://h:1/x' is not a port (nothing may follow HOST:PORT).");
        // Taken by Read, which then does not start.
        row("tcp://admin:pw@console:1", "'tcp://...@console:1' is not a port (a user name or "
                                        "password is not taken: the connection has no login).");
    }
    void typedPorts()
    {
        QFETCH(QString, typed);
        QFETCH(QString, selected);
        MainWindowHarness h(nullptr, [] {
            return std::vector<SerialDeviceInfo>{{"ttyUSB0", "/dev/ttyUSB0", "FT232R USB UART"}};
        });
        h.window.portList->setEditText(typed);
        if (typed.contains('@'))
            h.window.readButton->click();
        else
            QTest::keyClick(h.window.portList->lineEdit(), Qt::Key_Return);

        const bool refused = selected.endsWith(").");
        QCOMPARE(h.prompter.texts(), refused ? QStringList{selected} : QStringList{});
        QCOMPARE(h.window.portList->currentText(), refused ? typed : selected);
        QCOMPARE(h.window.portList->itemData(h.window.portList->currentIndex(), Qt::ToolTipRole),
                 "Opens " + QString(refused ? "/dev/ttyS0" : h.window.portList->device()));
    }

    // The mouse wheel changes the model and port lists only while they have the keyboard focus.
    void wheelNeedsFocus()
    {
        MainWindowHarness h;
        h.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        for (QComboBox *list : {h.window.modelList, static_cast<QComboBox *>(h.window.portList)}) {
            const int before = list->currentIndex();
            for (QWidget *focus :
                 {static_cast<QWidget *>(h.window.readButton), static_cast<QWidget *>(list)}) {
                focus->setFocus();
                QWheelEvent turn({5, 5}, {5, 5}, {}, {0, -120}, {}, {}, Qt::NoScrollPhase, false);
                QApplication::sendEvent(list, &turn);
                QCOMPARE(list->currentIndex(), before + (focus == list ? 1 : 0));
            }
        }
    }

    // A real question box: Enter answers No, what Yes removes is said below the question, and the
    // box is wide enough for its whole title.
    void questionBox()
    {
        MessageBoxPrompter prompter;
        QString seen;
        QTimer::singleShot(0, [&seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QFont bold = box->font();
            bold.setBold(true);
            const int title = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            seen = QStringLiteral("%1, %2, %3")
                       .arg(box->windowTitle(), box->informativeText())
                       .arg(box->width() > title + 100);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(!prompter.askYesNo("Go?", "All goes."));
        QCOMPARE(seen, "Device Configuration, All goes., 1");
    }

    // Settings confirmed in Properties and neither saved nor written: closing the window, Read
    // and Open ask first, and No keeps everything; Save (or a new image) ends the reminder, the
    // question of a model change too. OK without a change, or settings with no image to save
    // them with, are nothing to lose. The line of what is loaded follows.
    void unsavedSettings_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("consequence"); // of the question; empty: none asked
        QTest::addColumn<QString>("source");
        const QString changed = "a.bin, changed in Properties";
        QTest::newRow("close, No")
            << "close" << false << MainWindowTexts::kCloseDiscards << changed;
        QTest::newRow("close, Yes")
            << "close" << true << MainWindowTexts::kCloseDiscards << changed;
        QTest::newRow("Read, No") << "read" << false << MainWindowTexts::kReadDiscards << changed;
        QTest::newRow("Open, No") << "open" << false << MainWindowTexts::kOpenDiscards << changed;
        QTest::newRow("Open, Yes") << "open" << true << MainWindowTexts::kOpenDiscards << "b.bin";
        QTest::newRow("Save, then close") << "save" << true << QString() << "saved as out.bin";
        QTest::newRow("Save, then another model")
            << "save, model" << true << QString() << "none loaded";
        QTest::newRow("OK without a change, then close")
            << "unchanged" << true << QString() << "a.bin";
        QTest::newRow("nothing loaded, then close")
            << "unloaded" << true << QString() << "none loaded, changed in Properties";
    }
    void unsavedSettings()
    {
        QFETCH(QString, action);
        QFETCH(bool, answer);
        QFETCH(QString, consequence);
        QTemporaryDir dir;
        MainWindowHarness h;
        // A switch's own image: OK without a change leaves every word of it as it was.
        h.files.paths = {writeImageFile(dir, "a.bin", factoryImage(1), 1)};
        if (action != "unloaded")
            h.window.openButton->click();
        const QStringList edits =
            action == "unchanged" ? QStringList{} : QStringList{"portButton_3", "stormControlBox"};
        h.dialogs.actions.push_back([edits](QDialog &properties) {
            QVERIFY(clickButtons(properties, edits));
            properties.show(); // Enter presses OK
            QTest::keyClick(&properties, Qt::Key_Return);
        });
        h.window.propertiesButton->click();
        const ImageWords confirmed = h.state.eepromImage;
        QCOMPARE(h.state.unsavedChanges, !edits.isEmpty());
        h.prompter.answers = {answer};
        h.files.paths = {action.startsWith("save")
                             ? dir.filePath("out.bin")
                             : writeImageFile(dir, "b.bin", validImage(1), 1)};

        bool closed = false;
        if (action == "read")
            h.window.readButton->click();
        else if (action == "open" || action.startsWith("save"))
            (action == "open" ? h.window.openButton : h.window.saveButton)->click();
        if (action == "save, model")
            h.window.modelList->setCurrentIndex(0);
        else if (action != "read" && action != "open")
            closed = h.window.close();

        const bool asked = !consequence.isEmpty();
        QCOMPARE(h.prompter.prompts.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(h.prompter.texts(), QStringList{MainWindowTexts::kDiscardQuestion});
            QCOMPARE(h.prompter.prompts[0].reason, consequence);
        }
        const bool discarded = answer && action == "open";
        QVERIFY(h.state.eepromImage == (discarded                 ? validImage(1)
                                        : action == "save, model" ? ImageWords{}
                                                                  : confirmed));
        QCOMPARE(h.state.unsavedChanges,
                 !edits.isEmpty() && !discarded && !action.startsWith("save"));
        QCOMPARE(closed, action != "close"
                             ? action != "save, model" && action != "read" && action != "open"
                             : answer);
        QTEST(h.window.sourceLine->text(), "source");
    }

};

SWCFG_TEST_CLASS(MainWindowTest)
#include "main_window_test.moc"
