# Cross build for 64-bit Windows with MinGW-w64 (Debian's g++-mingw-w64-x86-64), tests run
# under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_amperlog_mingw x86_64-w64-mingw32)
# The posix thread model: its libstdc++ has the whole of C++20's thread support, which the
# win32 model of g++ 12 lacks.
set(CMAKE_C_COMPILER ${_amperlog_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_amperlog_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_amperlog_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_amperlog_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link libgcc, libstdc++ and winpthread into each executable, so it runs under Wine (and on a
# bare Windows) without hunting for the compiler's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Lets CTest and test discovery run the Windows executables; see the script for why it is not
# Wine itself.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-under-wine.sh)
