#include "support/test_main.h"

#include <QApplication>
#include <QTest>

std::vector<TestRegistry::Factory> &TestRegistry::factories()
{
    static std::vector<Factory> all;
    return all;
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto &factory : TestRegistry::factories()) {
        const std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
