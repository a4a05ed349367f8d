#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Lets several Qt Test classes share one executable: each test file registers its class with
// SWCFG_TEST_CLASS(Name) and the shared main() runs them all.
namespace TestRegistry
{
using Factory = std::function<std::unique_ptr<QObject>()>;
std::vector<Factory> &factories();
struct Registrar {
    explicit Registrar(Factory factory) { factories().push_back(std::move(factory)); }
};
} // namespace TestRegistry

#define SWCFG_TEST_CLASS(Class)                                                                    \
    static const TestRegistry::Registrar registrar##Class(                                         \
        [] { return std::unique_ptr<QObject>(new Class); });
