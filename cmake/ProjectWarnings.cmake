option(AMPERLOG_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

add_library(project_warnings INTERFACE)
if(MSVC)
    target_compile_options(project_warnings INTERFACE /W4 $<$<BOOL:${AMPERLOG_WARNINGS_AS_ERRORS}>:/WX>)
else()
    target_compile_options(project_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Woverloaded-virtual $<$<CXX_COMPILER_ID:GNU>:-Wsuggest-override>
        $<$<BOOL:${AMPERLOG_WARNINGS_AS_ERRORS}>:-Werror>)
endif()
