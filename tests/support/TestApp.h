#pragma once
// The one application object of a Qt test program: made on first use, on the
// offscreen platform unless the test's environment names another, and never
// destroyed, since Qt's own statics may already be gone at exit.
#include <QApplication>

namespace orvane::testing {

inline QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "orvane_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace orvane::testing
