#include "image/bin_file.h"
#include "image/device_models.h"
#include "launcher/sim_process.h"
#include "run_ctl.h"
#include "support/files.h"
#include "support/image_builders.h"
#include "support/test_main.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>




// swcfgctl writing against the simulator: the changed words only, and a configuration document.
class SwcfgctlWriteTest : public QObject
{
    Q_OBJECT

private slots:
    // swcfgctl write --changed-only against a simulated 32-port switch whose image differs from the
    // file in the words `changed` (device * 128 + word): every device is read, only those words are
    // written, every device is read back, and the switch is reset only when all of it verified. A
    // switch that holds the file already was read once, and is neither written nor reset.
    void writeChangedOnly_data()
    {
        QTest::addColumn<QList<int>>("changed");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("messages");
        QTest::newRow("a word of device 0 and one of the module")
            << QList<int>{13, 3 * 128 + 100} << QString() << 0 << QString();
        QTest::newRow("the switch holds the file")
            << QList<int>() << QString() << 0
            << "the switch already holds {file}: nothing written, not restarted\n";
        QTest::newRow("a written word keeps another value")
            << QList<int>{128 + 40, 2 * 128 + 7} << "--corrupt-word 1:40" << 4
            << "Device 1 EEPROM Writing Error !\nEEPROM writing error ! Please write once again ! "
               "\n";
    }
    void writeChangedOnly()
    {
        QFETCH(QList<int>, changed);
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, messages);
        SimProcess sim;
        const QDir dir(sim.folder());
        ImageWords image = TestImages::validImage(Model32NWay);
        QVERIFY(putFile(dir.filePath("switch.bin"), BinFile::encode(image, Model32NWay)));
        QStringList writes;
        for (const int at : changed) {
            quint16 &word = image[at / 128][at % 128] ^= 0x0101;
            writes << QString("write %1 0 %2 %3")
                          .arg(at / 128)
                          .arg(at % 128 * 2, 3, 10, QChar('0'))
                          .arg(word);
        }
        QVERIFY(putFile(dir.filePath("file.bin"), BinFile::encode(image, Model32NWay)));
        QVERIFY2(sim.start(QString("--model 2 --image %1 %2")
                               .arg(dir.filePath("switch.bin"), fault)
                               .split(' ', Qt::SkipEmptyParts)),
                 qPrintable(sim.errorString()));

        const QString run = runCtl({"write", "--model", "32", "--changed-only", "--port",
                                    sim.ptyPath(), dir.filePath("file.bin")});
        QCOMPARE(run, QString("%1||%2").arg(exitCode).arg(
                          messages.replace("{file}", dir.filePath("file.bin"))));
        const bool resets = exitCode == 0 && !changed.isEmpty();
        QVERIFY(!resets || SimProcess::waitFor([&] { return sim.logLines().contains("reset"); }));
        QStringList log = sim.logLines();
        QCOMPARE(log.count("reset"), resets ? 1 : 0);
        QCOMPARE(log.filter(QRegularExpression("^read . 0 000 256$")).size(),
                 changed.isEmpty() ? 4 : 8);
        QCOMPARE(log.filter(QRegularExpression("^write "))
                     .replaceInStrings(QRegularExpression(" stored .*"), QString()),
                 writes);
    }

    // write --changed-only --config with what the playbook tests cannot reach: the summary's
    // fields, a dry run's count, a document that what the switch holds refuses (after the read and
    // the backup, nothing written), and a backup that cannot be saved (before the switch is
    // touched).
    void writeDocument_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("document"); // the keys after format, version and model
        // The exit status, the port's summary (B: the backup file), what the switch was sent.
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("said"); // in standard error; {dir}: the test's folder
        const QString backup = "--backup {dir}/sw-{port}.bin";
        const QString storm = R"("ports": {"7": {"storm_control": true}})";
        QTest::newRow("the switch holds the document")
            << QString() << R"("ports": {"7": {"storm_control": false}})"
            << R"(0 {"restarted":false,"status":0,"words_differing":0,"words_written":0})"
               " read 4, wrote 0, reset 0"
            << "the switch already holds {dir}/doc.json: nothing written, not restarted\n";
        QTest::newRow("dry run")
            << "--dry-run " + backup << storm
            << R"(0 {"backup":"B","restarted":false,"status":0,"words_differing":1,)"
               R"("words_written":0} read 4, wrote 0, reset 0)"
            << "{dir}/doc.json differs from the switch in 1 word: nothing written (--dry-run), "
               "not restarted\n";
        QTest::newRow("a group of a trunk the switch does not have")
            << backup << R"("vlans": [{"ports": [5], "trunks": [1]}])"
            << R"(2 {"backup":"B","restarted":false,"status":2,"words_written":0})"
               " read 4, wrote 0, reset 0"
            << "{dir}/doc.json: vlans[0].trunks: trunk 1 is not in use\n";
        QTest::newRow("a backup that cannot be saved")
            << "--backup {dir}/missing/b.bin" << storm
            << R"(2 {"restarted":false,"status":2,"words_written":0} read 0, wrote 0, reset 0)"
            << "{dir}/missing/b.bin: File Save Error !";
    }
    void writeDocument()
    {
        QFETCH(QString, options);
        QFETCH(QString, document);
        QFETCH(QString, outcome);
        QFETCH(QString, said);
        SimProcess sim;
        QVERIFY2(sim.start({"--model", "24sx"}), qPrintable(sim.errorString()));
        const QByteArray held = fileBytes(sim.statePath());
        const QDir dir(sim.folder());
        QVERIFY(putFile(dir.filePath("doc.json"),
                        R"({"format": "swcfg-config", "version": 1, "model": "24sx", )" +
                            document.toUtf8() + "}"));
        const QString backupFile =
            dir.filePath("sw-pts" + QFileInfo(sim.ptyPath()).fileName() + ".bin");

        const QStringList run =
            runCtl(
                QString("write --model 24sx --port %1 --changed-only --json -c {dir}/doc.json %2")
                    .arg(sim.ptyPath(), options)
                    .replace("{dir}", dir.path())
                    .split(' ', Qt::SkipEmptyParts))
                .split('|');
        QJsonObject port =
            QJsonDocument::fromJson(run.value(1).toUtf8()).array().first().toObject();
        for (const char *key : {"device", "file", "messages", "name", "outcome", "port", "seconds"})
            port.remove(key);
        QCOMPARE(fileBytes(backupFile), port.contains("backup") ? held : QByteArray());
        const QStringList log = sim.logLines();
        QCOMPARE(QString("%1 %2 read %3, wrote %4, reset %5")
                     .arg(run.value(0), QString(QJsonDocument(port).toJson(QJsonDocument::Compact))
                                            .replace(backupFile, "B"))
                     .arg(log.filter(QRegularExpression("^read . 0 000 256$")).size())
                     .arg(log.filter(QRegularExpression("^write ")).size())
                     .arg(log.count("reset")),
                 outcome);
        QVERIFY2(run.value(2).contains(said.replace("{dir}", dir.path())),
                 qPrintable(run.value(2)));
        QVERIFY(!outcome.endsWith("read 0, wrote 0, reset 0") || log.isEmpty());
    }
};

SWCFG_TEST_CLASS(SwcfgctlWriteTest)
#include "swcfgctl_write_test.moc"
