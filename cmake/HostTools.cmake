# Tools the build runs on the build machine. A native build makes them as targets of its own; a
# cross build makes them in a separate build for the host, with the host's compiler and Qt.
# Sets AMPERLOG_RENDER_PICTURE (the program) and AMPERLOG_RENDER_PICTURE_TARGET (what to
# depend on).
set(_amperlog_tools ${PROJECT_SOURCE_DIR}/tools/render-picture)
if(NOT CMAKE_CROSSCOMPILING)
    add_subdirectory(${_amperlog_tools} ${PROJECT_BINARY_DIR}/tools/render-picture)
    set(AMPERLOG_RENDER_PICTURE $<TARGET_FILE:amperlog-render-picture>)
    set(AMPERLOG_RENDER_PICTURE_TARGET amperlog-render-picture)
    return()
endif()

include(ExternalProject)
set(_amperlog_host_dir ${PROJECT_BINARY_DIR}/host-tools)
ExternalProject_Add(amperlog_host_tools
    SOURCE_DIR ${_amperlog_tools}
    BINARY_DIR ${_amperlog_host_dir}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_amperlog_host_dir}/amperlog-render-picture
    BUILD_ALWAYS ON)
set(AMPERLOG_RENDER_PICTURE ${_amperlog_host_dir}/amperlog-render-picture)
set(AMPERLOG_RENDER_PICTURE_TARGET amperlog_host_tools)
