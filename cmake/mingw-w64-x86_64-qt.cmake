# Cross build of the whole program for 64-bit Windows, Qt widgets and all, against the Qt that
# scripts/build-qt-windows.sh builds; the script names its folder.
execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/build-qt-windows.sh --prefix
                OUTPUT_VARIABLE _amperlog_qt OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT EXISTS ${_amperlog_qt}/.amperlog-complete)
    message(FATAL_ERROR "No Qt for Windows in ${_amperlog_qt}: run scripts/build-qt-windows.sh")
endif()

# Qt's own toolchain file sets up the host tools and the search paths, then reads ours.
set(QT_CHAINLOAD_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
include(${_amperlog_qt}/lib/cmake/Qt6/qt.toolchain.cmake)

# The program links the compiler's runtime as DLLs, as Qt's DLLs do, and ships them beside it
# (cmake/WindowsDeploy.cmake): one C++ runtime in the process.
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
