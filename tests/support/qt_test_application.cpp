#include "qt_test_application.h"

namespace amperlog::test {

void ChooseTestPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", AMPERLOG_TEST_QT_PLATFORM);
    }
}

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "amperlog-test";
    static char* argv[] = {name, nullptr};
    ChooseTestPlatform();
    // Never destroyed: Qt does not like its application going away during static teardown.
    static auto* application = new QApplication(argc, argv);
    return *application;
}

} // namespace amperlog::test
