#pragma once

#include <QCoreApplication>

namespace kelvarn::test {

// Creates the application object the test program needs (QCoreApplication,
// QGuiApplication or QApplication) once; it lives for the whole test program.
template <class Application> void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kelvarn_tests";
    static char* argv[] = {name, nullptr};
    new Application(argc, argv);
}

} // namespace kelvarn::test
