#pragma once
// Registration of test classes: each area's program runs every class registered in it.
#include <QObject>
#include <functional>
#include <vector>

namespace testmain {
using Factory = std::function<QObject*()>;
std::vector<Factory>& registry();
struct Registrar {
    explicit Registrar(Factory f) { registry().push_back(std::move(f)); }
};
} // namespace testmain

#define VTN_TEST(Class)                                                                            \
    static const testmain::Registrar vtnRegistrar_##Class([]() -> QObject* { return new Class; });
