#include "ctl_in_process.h"
#include "image/bin_file.h"
#include "image/device_models.h"
#include "image/factory_image.h"
#include "image/port_word_codec.h"
#include "support/test_main.h"

#include <QTemporaryDir>
#include <QTest>

// What swcfgctl's commands print about configurations and ports, and the status they end with.
class ConfigPrintedTest : public QObject
{
    Q_OBJECT

private slots:
    // What a command prints, then what it says: show's port table, column by column; diff names
    // the settings that differ (groups one by one), then the words, and says by its status
    // whether any did; show and diff take the model the file names unless given one; a message
    // about a file starts with its name; ports lists COM1 to COM8 (COM2 redirected here) and the
    // devices the system reports, a port listed by its name. {dir}/a.bin is the factory image (of
    // the model the row names, the 24-port one if none), {dir}/b.bin that image with `ports`
    // applied (or the document's other keys), {dir}/w.bin with a word no setting shows changed.
    // An expected text starting with "~" lists pieces of it, each starting with "~".
    void printed_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("ports");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        const QString ab = " {dir}/a.bin {dir}/b.bin";
        QTest::newRow("the same") << "diff -m 24" + ab << "{}" << 0 << "";
        QTest::newRow("learning and link of port 7, the file's model")
            << "diff" + ab << R"({"7": {"learning": false, "link": "10-full"}})" << 5
            << "ports.7.learning: true -> false\nports.7.link: \"auto\" -> \"10-full\"\n"
               "1 23: 0x000F -> 0x001F\n1 24: 0x4C5F -> 0x4CD3\n";
        QTest::newRow("show")
            << "show -m 24sx {dir}/b.bin"
            << R"("ports": {"7": {"security": true, "storm_control": true, "flow_control": )"
               R"(false, "link": "100-half"}, "8": {"learning": false, "link": "10-half"}}, )"
               R"("trunks": {"method": "mac", "hash": "DA crc.", "groups": {"1": {"members": )"
               R"([1, 2, 3]}, "2": {"members": [4, 13, 14, 15, 16]}}}, )"
               R"("vlans": [{"ports": [5, 6], "trunks": [1]}])"
            << 0
            << "~   7  on        off       on             off           100-half\n"
               "   8  off       off       off            on            10-half\n~hash DA crc.\n  "
               "Trunk1: ports 1-3\n  Trunk2: ports 4, 13-16\n\nVLAN groups:\n"
               "  Group1: ports 5, 6; trunks 1\n~  Port 26: 4, 7-26\n";
        QTest::newRow("a secured port learns nothing, whatever its learning bit says")
            << "show -m 24 {dir}/s.bin"
            << "{}" << 0 << "~  13  on        off       off            on            auto\n";
        QTest::newRow("a group added")
            << "diff" + ab << R"("vlans": [{"ports": [1, 2]}])" << 5
            << "~vlans[0]: (none) -> {\"ports\": [1, 2], \"trunks\": []}\n0 30: 0xFFFF -> 0xFFF5\n";
        QTest::newRow("a group removed")
            << "diff {dir}/b.bin {dir}/a.bin"
            << R"("vlans": [{"ports": [1, 2]}])" << 5
            << "~vlans[0]: {\"ports\": [1, 2], \"trunks\": []} -> (none)\n0 30: 0xFFF5 -> 0xFFFF\n";
        QTest::newRow("a word no setting shows, JSON")
            << "diff --json {dir}/a.bin {dir}/w.bin"
            << "{}" << 5
            << "{\n  \"equal\": false,\n  \"settings\": [],\n  \"words\": [\n    {\"device\": 0, "
               "\"word\": 127, \"old\": 0, \"new\": 32769}\n  ]\n}\n";
        QTest::newRow("link of port 30, JSON")
            << "diff -m 32 --json" + ab << R"({"30": {"link": "100-full"}})" << 5
            << "{\n  \"equal\": false,\n  \"settings\": [\n    {\"path\": \"ports.30.link\", "
               "\"old\": \"auto\", \"new\": \"100-full\"}\n  ],\n  \"words\": [\n    "
               "{\"device\": 3, \"word\": 18, \"old\": 19551, \"new\": 19679}\n  ]\n}\n";
        QTest::newRow("a model the file is not of")
            << "diff -m 24" + ab << R"({"32": {}})" << 2
            << "{dir}/a.bin:  Error ! This is not 24-Port Binary File ! ";
        QTest::newRow("no model word")
            << "show {dir}/c.json"
            << "{}" << 2 << "{dir}/c.json:  Binary File Contents Error ! ";
        QTest::newRow("no file") << "show -m 24 {dir}/none.bin"
                                 << "{}" << 2
                                 << "{dir}/none.bin: File Open Error !\nNo such file or directory";
        QString com, comLines; // COM3 to COM8
        for (int n = 3; n <= 8; ++n) {
            const QString name = QString("COM%1").arg(n), tty = QString("/dev/ttyS%1").arg(n - 1);
            com += QString(R"(    {"name": "%1", "device": "%2"},)").arg(name, tty) + '\n';
            comLines += name + "  " + tty + '\n';
        }
        QTest::newRow("ports, JSON")
            << "ports --json"
            << "{}" << 0
            << R"({
  "ports": [
    {"name": "COM1", "device": "/dev/ttyS0", "description": "16550A"},
    {"name": "COM2", "device": "/dev/pts/9", "override": "SWCFG_COM2"},
)" + com +
                   R"(    {"name": "ttyUSB0", "device": "{dir}/ttyUSB0", "description": )"
                   R"("FT232R USB UART", "manufacturer": "FTDI", )"
                   R"("serial_number": "A1B2C3", "vendor_id": "0403", )"
                   R"("product_id": "6001"}
  ]
}
)";
        QTest::newRow("ports") << "ports"
                               << "{}" << 0
                               << "COM1  /dev/ttyS0  16550A\nCOM2  /dev/pts/9 (SWCFG_COM2)\n" +
                                      comLines +
                                      "ttyUSB0  {dir}/ttyUSB0  FT232R USB UART  FTDI  A1B2C3  "
                                      "0403:6001\n";
        QTest::newRow("a port by its name") << "read -m 24 -p ttyUSB0 -o {dir}/out.bin"
                                            << "{}" << 3 << "{dir}/ttyUSB0\nCOM Port Open Error !";
        // Console servers' ports, the scheme in any case, are network lines to HOST:PORT (none
        // listens on port 1); COM2 names one here.
        for (const QString port : {"TCP://127.0.0.1:1", "Rfc2217://127.0.0.1:1/", "COM2"})
            QTest::addRow("%s", qPrintable(port))
                << "write -m 24 -p " + port + " {dir}/a.bin"
                << "{}" << 3
                << QString(port == "COM2" ? "rfc2217://127.0.0.1:1" : port) +
                       " (network)\nCOM Port Open Error !";
    }
    void printed()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, ports);
        QFETCH(int, status);
        QFETCH(QString, out);
        QTemporaryDir dir;
        const int model = arguments.contains("24sx")           ? Model24Sx
                          : (arguments + ports).contains("32") ? Model32NWay
                                                               : Model24NWay;
        ImageWords image = factoryImage(model);
        put(dir, "a.bin", BinFile::encode(image, model));
        image[0][127] ^= 0x8001;
        put(dir, "w.bin", BinFile::encode(image, model));
        image[0][13] |= PortWord::kSecurity; // the learning bit left on
        put(dir, "s.bin", BinFile::encode(image, model));
        put(dir, "c.json",
            QStringLiteral(R"({"format": "swcfg-config", "version": 1, "model": "%1", %2})")
                .arg(QStringList{"24", "24sx", "32"}[model],
                     ports.startsWith('{') ? "\"ports\": " + ports : ports)
                .toUtf8());
        QCOMPARE(ctl("apply -c {dir}/c.json -o {dir}/b.bin", dir).status, 0);
        for (int n = 1; n <= 8; ++n)
            qunsetenv(qPrintable(QString("SWCFG_COM%1").arg(n)));
        qputenv("SWCFG_COM2", arguments.contains("COM2") ? "rfc2217://127.0.0.1:1" : "/dev/pts/9");
        const CtlResult run = ctl(arguments, dir);
        out.replace("{dir}", dir.path());
        for (const QString &piece :
             out.startsWith('~') ? out.split('~', Qt::SkipEmptyParts) : QStringList())
            QVERIFY2(run.out.contains(piece), qPrintable(run.out));
        if (!out.startsWith('~'))
            QCOMPARE(run.out + run.err, out);
        QCOMPARE(run.status, status);
    }
};

SWCFG_TEST_CLASS(ConfigPrintedTest)
#include "config_printed_test.moc"
