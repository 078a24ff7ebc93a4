#include "common/testmain.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace testmain {
std::vector<Factory>& registry() {
    static std::vector<Factory> r;
    return r;
}
} // namespace testmain

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto& make : testmain::registry()) {
        std::unique_ptr<QObject> test(make());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
