#include "support/test_main.h"

#include <QApplication>
#include <QTest>

std::vector<TestRegistry::Factory> &TestRegistry::factories()
{
    static std::vector<Factory> all;
    return all;
}

// Runs every registered class. Function names on the command line ("name" or "name:row") go to
// the classes that have them; a class with none of them is skipped. Options go to every class.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QStringList optionsWithValue{"-o", "-maxwarnings", "-eventdelay", "-keydelay"};
    QStringList options;
    QStringList functions;
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i].startsWith('-') || optionsWithValue.contains(arguments[i - 1]))
            options << arguments[i];
        else
            functions << arguments[i];
    }

    int failures = 0;
    for (const auto &factory : TestRegistry::factories()) {
        const std::unique_ptr<QObject> test = factory();
        QStringList mine;
        for (const QString &function : functions) {
            const QString slot = function.section(':', 0, 0) + "()";
            if (test->metaObject()->indexOfMethod(slot.toLatin1()) >= 0)
                mine << function;
        }
        if (functions.isEmpty() || !mine.isEmpty())
            failures += QTest::qExec(test.get(), QStringList{arguments.first()} + options + mine);
    }
    return failures == 0 ? 0 : 1;
}
