#include "qt_test_application.h"

namespace amperlog::test {

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "amperlog-test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Never destroyed: Qt does not like its application going away during static teardown.
    static auto* application = new QApplication(argc, argv);
    return *application;
}

} // namespace amperlog::test
