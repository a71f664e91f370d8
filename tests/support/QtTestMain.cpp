#include "support/QtTestMain.h"

#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace lumetra::test {

namespace {

std::map<std::string, QtTestFactory>& registry() {
    static std::map<std::string, QtTestFactory> tests;
    return tests;
}

}  // namespace

bool RegisterQtTest(const char* name, QtTestFactory factory) {
    registry()[name] = std::move(factory);
    return true;
}

void FailQtTest(const std::string& message) {
    QTest::qFail(message.c_str(), __FILE__, __LINE__);
}

}  // namespace lumetra::test

int main(int argc, char** argv) {
    // No display in CI; a web view's sandbox refuses to run as root, which CI is.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    std::vector<std::string> names;
    std::vector<char*> rest{argv[0]};
    if (argc > 1 && argv[1][0] != '-') {
        names.push_back(argv[1]);
        rest.insert(rest.end(), argv + 2, argv + argc);
    } else {
        for (const auto& [name, factory] : lumetra::test::registry()) names.push_back(name);
        rest.insert(rest.end(), argv + 1, argv + argc);
    }
    int failures = 0;
    for (const std::string& name : names) {
        auto it = lumetra::test::registry().find(name);
        if (it == lumetra::test::registry().end()) {
            std::fprintf(stderr, "no test class %s\n", name.c_str());
            return 2;
        }
        std::unique_ptr<QObject> test = it->second();
        failures += QTest::qExec(test.get(), int(rest.size()), rest.data());
    }
    return failures == 0 ? 0 : 1;
}
