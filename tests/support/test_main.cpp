#include "support/test_main.h"

#include <QApplication>
#include <QMetaMethod>
#include <QTest>

std::vector<TestRegistry::Factory> &TestRegistry::factories()
{
    static std::vector<Factory> all;
    return all;
}

namespace
{

bool hasTestFunction(const QObject &test, const QString &function)
{
    const QMetaObject *meta = test.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (QString::fromLatin1(meta->method(i).name()) == function)
            return true;
    }
    return false;
}

} // namespace

// Runs every registered class. Function names on the command line ("name" or "name:row") go to
// the classes that have them; a class with none of them is skipped.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QStringList options;
    QStringList functions;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument.startsWith(QLatin1Char('-'))) {
            options << argument;
            // Options that take a value (-o file, -maxwarnings n, ...) keep it.
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1Char('-')) &&
                (argument == QLatin1String("-o") || argument == QLatin1String("-maxwarnings") ||
                 argument == QLatin1String("-eventdelay") ||
                 argument == QLatin1String("-keydelay") ||
                 argument == QLatin1String("-mousedelay")))
                options << arguments[++i];
        } else {
            functions << argument;
        }
    }

    int failures = 0;
    for (const auto &factory : TestRegistry::factories()) {
        const std::unique_ptr<QObject> test = factory();
        QStringList mine;
        for (const QString &function : functions) {
            if (hasTestFunction(*test, function.section(QLatin1Char(':'), 0, 0)))
                mine << function;
        }
        if (!functions.isEmpty() && mine.isEmpty())
            continue;
        failures += QTest::qExec(test.get(), QStringList{arguments.first()} + options + mine);
    }
    return failures == 0 ? 0 : 1;
}
