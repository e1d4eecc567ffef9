#pragma once

#include <QApplication>

namespace amperlog::test {

// The one QApplication of a widget test executable, made on first use on the tests' platform
// (unless QT_QPA_PLATFORM names another) and kept until the process ends.
QApplication& TestApplication();

// The tests' platform when QT_QPA_PLATFORM names none. Wine passes no QT_ variable on to a
// Windows program, so the choice is built in.
void ChooseTestPlatform();

} // namespace amperlog::test
