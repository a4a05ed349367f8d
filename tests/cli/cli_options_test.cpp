#include "cli_options.h"
#include "support/test_main.h"

#include <QTest>

namespace
{

ParsedCommandLine parse(const QStringList &arguments)
{
    return parseCommandLine(QStringList{"swcfgctl"} + arguments);
}

// The machine running the tests may redirect ports of its own.
void clearComOverrides()
{
    for (int n = 1; n <= 8; ++n)
        qunsetenv(qPrintable(QStringLiteral("SWCFG_COM%1").arg(n)));
}

} // namespace

class CliOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { clearComOverrides(); }
    void cleanup() { clearComOverrides(); }

    void models_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("model"); // -1: refused
        for (const auto &[argument, model] :
             std::initializer_list<std::pair<const char *, int>>{{"24", 0},
                                                                 {"24sx", 1},
                                                                 {"24SX", 1},
                                                                 {"32", 2},
                                                                 {"0", 0},
                                                                 {"1", 1},
                                                                 {"2", 2},
                                                                 {"3", -1},
                                                                 {"sx", -1},
                                                                 {"24 ", -1},
                                                                 {"", -1}})
            QTest::addRow("'%s'", argument) << QString(argument) << model;
    }
    void models()
    {
        QFETCH(QString, argument);
        QFETCH(int, model);
        const QStringList port{"--port", "/dev/x"};
        const ParsedCommandLine read = parse(QStringList{"read", "-m", argument, "-o", "f"} + port);
        const ParsedCommandLine write =
            parse(QStringList{"write", "--model", argument, "f"} + port);
        for (const ParsedCommandLine *parsed : {&read, &write}) {
            QCOMPARE(parsed->options.has_value(), model >= 0);
            if (model >= 0)
                QCOMPARE(parsed->options->model, model);
            else
                QVERIFY(parsed->error.startsWith("bad model '" + argument + "'"));
        }
    }

    void ports_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("device"); // empty: refused
#ifdef Q_OS_WIN
        const QString com1 = "COM1", com8 = "COM8";
#else
        const QString com1 = "/dev/ttyS0", com8 = "/dev/ttyS7";
#endif
        QTest::newRow("com1") << "com1" << com1;
        QTest::newRow("COM8") << "COM8" << com8;
        QTest::newRow("cOm3 redirected") << "cOm3"
                                         << "/dev/pts/7";
        QTest::newRow("a path") << "/dev/ttyUSB0"
                                << "/dev/ttyUSB0";
        QTest::newRow("COM0") << "COM0" << QString();
        QTest::newRow("com9") << "com9" << QString();
        QTest::newRow("blank") << " " << QString();
    }
    void ports()
    {
        QFETCH(QString, argument);
        QFETCH(QString, device);
        qputenv("SWCFG_COM3", "/dev/pts/7");
        const ParsedCommandLine parsed = parse({"write", "--model", "24", "--port", argument, "f"});
        QCOMPARE(parsed.options.has_value(), !device.isEmpty());
        if (device.isEmpty())
            QVERIFY(parsed.error.startsWith("bad port '" + argument + "'"));
        else
            QCOMPARE(parsed.options->device, device);
    }

    void goodCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("file");
        QTest::newRow("read, = forms")
            << QStringList{"read", "--output=o.bin", "--port=/dev/x", "--model=24sx"} << false
            << "o.bin";
        QTest::newRow("write, file first")
            << QStringList{"write", "in.bin", "-p", "/dev/x", "-m", "24sx"} << true << "in.bin";
        QTest::newRow("write, a file named like an option")
            << QStringList{"write", "--model", "1", "--port", "/dev/x", "--", "-x.bin"} << true
            << "-x.bin";
    }
    void goodCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, write);
        QFETCH(QString, file);
        const ParsedCommandLine parsed = parse(arguments);
        QVERIFY2(parsed.options, qPrintable(parsed.error));
        QCOMPARE(parsed.options->command, write ? CliCommand::Write : CliCommand::Read);
        QCOMPARE(parsed.options->model, 1);
        QCOMPARE(parsed.options->device, QString("/dev/x"));
        QCOMPARE(parsed.options->filePath, file);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("command"); // whose help the hint points to
        const QStringList port{"--model", "24", "--port", "/dev/x"};
        QTest::newRow("nothing") << QStringList{} << "";
        QTest::newRow("unknown command") << QStringList{"erase"} << "";
        QTest::newRow("option first") << QStringList{"--model", "24", "read"} << "";
        QTest::newRow("read, no model") << QStringList{"read", "-p", "/dev/x", "-o", "f"} << "read";
        QTest::newRow("read, no port") << QStringList{"read", "-m", "24", "-o", "f"} << "read";
        QTest::newRow("read, no output") << QStringList{"read"} + port << "read";
        QTest::newRow("read, empty output") << QStringList{"read", "-o", ""} + port << "read";
        QTest::newRow("read, a file argument")
            << QStringList{"read", "-o", "f", "g"} + port << "read";
        QTest::newRow("read, no value") << QStringList{"read", "--model"} << "read";
        QTest::newRow("write, no file") << QStringList{"write"} + port << "write";
        QTest::newRow("write, two files") << QStringList{"write", "f", "g"} + port << "write";
        QTest::newRow("write, -o") << QStringList{"write", "-o", "f"} + port << "write";
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, command);
        const ParsedCommandLine parsed = parse(arguments);
        QVERIFY(!parsed.options);
        QVERIFY(!parsed.helpRequested);
        QVERIFY(!parsed.error.isEmpty());
        QCOMPARE(parsed.hint, command.isEmpty() ? QString("Try 'swcfgctl --help'.")
                                                : "Try 'swcfgctl " + command + " --help'.");
    }

    void help_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("usage");
        QTest::newRow("general") << QStringList{"help"} << "Usage: swcfgctl read  --model M";
        QTest::newRow("read") << QStringList{"read", "-h"} << "Usage: swcfgctl read --model M";
        // Help wins over whatever else is wrong on the line.
        QTest::newRow("write, bad model")
            << QStringList{"write", "--model", "99", "--help"} << "Usage: swcfgctl write --model";
    }
    void help()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, usage);
        const ParsedCommandLine parsed = parse(arguments);
        QVERIFY(parsed.helpRequested);
        QVERIFY2(parsed.helpText.startsWith(usage), qPrintable(parsed.helpText));
        for (const char *status : {"  0  done", "  1  usage", "  2  ", "  3  ", "  4  "})
            QVERIFY2(parsed.helpText.contains(status), status);
    }
};

SWCFG_TEST_CLASS(CliOptionsTest)
#include "cli_options_test.moc"
