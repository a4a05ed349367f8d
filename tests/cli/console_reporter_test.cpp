#include "console_reporter.h"
#include "support/test_main.h"

#include <QTest>

#include <cstdio>

namespace
{

QByteArray bar(int filled, int percent)
{
    return "\r[" + QByteArray(filled, '#') + QByteArray(40 - filled, '.') + "] " +
           QByteArray::number(percent).rightJustified(3, ' ') + '%';
}

} // namespace

class ConsoleReporterTest : public QObject
{
    Q_OBJECT

private slots:
    void output_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("not a terminal: messages only") << false << QByteArray("first\nsecond\n");
        // A message that arrives while the bar is up gets a line of its own.
        QTest::newRow("terminal") << true
                                  << bar(0, 0) + bar(20, 50) + "\nfirst\n" + bar(40, 100) +
                                         "\nsecond\n";
    }
    void output()
    {
        QFETCH(bool, terminal);
        std::FILE *stream = std::tmpfile();
        QVERIFY(stream);
        {
            ConsoleReporter console(stream, terminal);
            const ProgressCallback progress = console.progressCallback();
            progress({0, true});
            progress({50, true});
            console.report("first", MessageSeverity::Critical);
            progress({100, true});
            progress({100, false});
            progress({100, false}); // a second hide adds no empty line
            console.report("second", MessageSeverity::Exclamation);
        }
        std::rewind(stream);
        QByteArray written(1024, '\0');
        written.resize(static_cast<qsizetype>(std::fread(written.data(), 1, 1024, stream)));
        std::fclose(stream);
        QTEST(written, "expected");
    }
};

SWCFG_TEST_CLASS(ConsoleReporterTest)
#include "console_reporter_test.moc"
