# The program's icon on Windows: resources/icons/amperlog.svg rendered by the host's Qt
# (cmake/HostTools.cmake) at the sizes Windows shows, in one .ico, which the executable carries
# as its icon (Explorer, the taskbar, the Start-menu shortcut, Apps) and which lies beside it
# as Amperlog.ico for the installer (scripts/package-windows.sh).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(amperlog_windows_icon target)
    set(svg ${PROJECT_SOURCE_DIR}/resources/icons/amperlog.svg)
    set(make_ico ${PROJECT_SOURCE_DIR}/packaging/windows/make-ico.py)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/windows-icon)
    file(MAKE_DIRECTORY ${dir})
    set(pngs)
    foreach(size 16 20 24 32 40 48 64 256)
        set(png ${dir}/amperlog-${size}.png)
        # Under the sanitizer builds the leak checker would count Qt's caches against the tool.
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                    ${AMPERLOG_RENDER_PICTURE} ${svg} ${size} ${size} 1 ${png}
            DEPENDS ${AMPERLOG_RENDER_PICTURE_TARGET} ${svg}
            COMMENT "Rendering the Windows icon at ${size} pixels"
            VERBATIM)
        list(APPEND pngs ${png})
    endforeach()

    # Beside the executable: its folder is what gets packaged.
    get_target_property(out ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT out)
        get_target_property(out ${target} BINARY_DIR)
    endif()
    set(ico ${dir}/Amperlog.ico)
    add_custom_command(OUTPUT ${ico} ${out}/Amperlog.ico
        COMMAND ${Python3_EXECUTABLE} ${make_ico} ${ico} ${pngs}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ico} ${out}/Amperlog.ico
        DEPENDS ${pngs} ${make_ico}
        COMMENT "Making Amperlog.ico"
        VERBATIM)
    add_custom_target(${target}_windows_icon DEPENDS ${ico} ${out}/Amperlog.ico)
    add_dependencies(${target} ${target}_windows_icon)

    set(rc ${dir}/amperlog_icon.rc)
    file(CONFIGURE OUTPUT ${rc} CONTENT "1 ICON \"${ico}\"\n")
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${ico})
endfunction()
