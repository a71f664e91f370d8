#pragma once
// The main of the window tests: Qt Test classes register themselves, the
// program runs one class (named as first argument, so CTest can time and
// report each on its own) or all of them.

#include <QObject>
#include <functional>
#include <memory>

namespace lumetra::test {

using QtTestFactory = std::function<std::unique_ptr<QObject>()>;

// Registers a test class; returns true so it can initialise a static.
bool RegisterQtTest(const char* name, QtTestFactory factory);

// Fails the running Qt test with message (used for the scripted services' strict mode).
void FailQtTest(const std::string& message);

}  // namespace lumetra::test

#define LUMETRA_QT_TEST(Class)                                             \
    static const bool Class##Registered = ::lumetra::test::RegisterQtTest( \
        #Class, [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); })
