#include "cli_options.h"
#include "command_progress.h"
#include "console_reporter.h"
#include "support/test_main.h"

#include <QTest>

#include <cstdio>

namespace
{

CommandProgress progressOf(const QString &arguments)
{
    return CommandProgress(
        *parseCommandLine(QStringList{"swcfgctl"} + arguments.split(' ')).options);
}

ProgressState state(const QString &phaseAndValue, bool visible = true)
{
    return {phaseAndValue.section('|', 1).toInt(), visible, phaseAndValue.section('|', 0, 0)};
}

} // namespace

class ConsoleReporterTest : public QObject
{
    Q_OBJECT

private slots:
    // The progress line of a whole command after the link's states ("phase|percent of it"): one
    // bar for the command, the phase named. Writing a device weighs seven times reading it; the
    // words --changed-only writes count as all until their number is known. It never goes back.
    void progressLine_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QString>("line"); // empty: nothing drawn
        const QString write4 = "write -m 24sx -p x f",
                      changed = "write -m 32 --changed-only -p x f";
        QTest::newRow("read") << "read -m 24 -p x -o f" << QStringList{"Reading device 2 of 3|50"}
                              << "reading device 2 of 3, 50%";
        QTest::newRow("write, device 2")
            << write4 << QStringList{"Writing device 2 of 4|87"} << "writing device 2 of 4, 40%";
        QTest::newRow("changed, read")
            << changed << QStringList{"Reading device 4 of 4|100"} << "reading device 4 of 4, 11%";
        QTest::newRow("changed, 64 words")
            << changed << QStringList{"Reading device 4 of 4|100", "Writing 64 changed words|100"}
            << "writing 64 changed words, 65%";
        QTest::newRow("never back")
            << write4 << QStringList{"Writing device 2 of 4|50", "Writing device 2 of 4|0"}
            << "writing device 2 of 4, 32%";
        QTest::newRow("no phase") << write4 << QStringList{"|30"} << "";
    }
    void progressLine()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, states);
        QFETCH(QString, line);
        CommandProgress progress = progressOf(command);
        std::optional<QByteArray> drawn;
        for (const QString &s : states)
            drawn = progress.line(state(s));
        QCOMPARE(drawn ? QString(*drawn).section("] ", 1) : QString(), line);
        if (drawn) // the bar: 40 marks, one for every 2.5 %
            QCOMPARE(drawn->count('#'), line.section(", ", 1).chopped(1).toInt() * 40 / 100);
    }

    // On a terminal the line is redrawn in place, as wide as before, and stays between phases; a
    // message ends it. Elsewhere only the messages are written.
    void output_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QByteArray>("expected");
        const auto bar = [](int marks) {
            return "\r[" + QByteArray(marks, '#') + QByteArray(40 - marks, '.') +
                   "] reading device ";
        };
        QTest::newRow("not a terminal") << false << QByteArray("first\nsecond\n");
        QTest::newRow("terminal") << true
                                  << bar(0) + "1 of 3, 0%\nfirst\n" + bar(0) + "1 of 3, 1%" +
                                         bar(13) + "2 of 3, 33%\nsecond\n";
    }
    void output()
    {
        QFETCH(bool, terminal);
        std::FILE *stream = std::tmpfile();
        QVERIFY(stream);
        {
            ConsoleReporter console(stream, terminal ? std::optional(progressOf("read -m 24 -p x "
                                                                                "-o f"))
                                                     : std::nullopt);
            const ProgressCallback progress = console.progressCallback();
            progress(state("Reading device 1 of 3|0"));
            console.report("first", MessageSeverity::Critical);
            progress(state("Reading device 1 of 3|5"));
            progress(state("Reading device 1 of 3|100", false)); // between phases: kept
            progress(state("Reading device 2 of 3|0"));
            progress(state("Reading device 2 of 3|0")); // the same line is not drawn again
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
