#pragma once

#include <QApplication>

namespace amperlog::test {

// The one QApplication of a widget test executable, made on first use on the offscreen
// platform (unless QT_QPA_PLATFORM names another) and kept until the process ends.
QApplication& TestApplication();

} // namespace amperlog::test
