# Puts beside a Windows program what it needs to start: Qt's DLLs, the platform and style
# plugins, the compiler's runtime DLLs and Qt's Japanese texts. Qt looks for plugins and
# translations beside the program when its DLLs are there and no qt.conf says otherwise.
# Further Qt libraries the target links (Qt6::Test for the tests) follow QT_LIBRARIES.
function(amperlog_deploy_windows target)
    cmake_parse_arguments(ARG "" "" "QT_LIBRARIES" ${ARGN})
    set(dlls $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
             $<TARGET_FILE:Qt6::Network>)
    foreach(library ${ARG_QT_LIBRARIES})
        list(APPEND dlls $<TARGET_FILE:${library}>)
    endforeach()
    foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "The compiler does not know where ${runtime} is")
        endif()
        list(APPEND dlls ${path})
    endforeach()

    set(dir $<TARGET_FILE_DIR:${target}>)
    set(commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/platforms ${dir}/translations
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dlls} ${dir}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> ${dir}/platforms)
    if(TARGET Qt6::QWindowsVistaStylePlugin)
        list(APPEND commands
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/styles
            COMMAND ${CMAKE_COMMAND} -E copy_if_different
                    $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> ${dir}/styles)
    endif()
    # Qt's own texts are the same files on every system; Debian's are those of this Qt.
    set(qm /usr/share/qt6/translations/qtbase_ja.qm)
    if(EXISTS ${qm})
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qm} ${dir}/translations)
    else()
        message(WARNING "${qm} is missing (qt6-translations-l10n): Qt's buttons stay English")
    endif()
    add_custom_command(TARGET ${target} POST_BUILD ${commands} VERBATIM)
endfunction()
