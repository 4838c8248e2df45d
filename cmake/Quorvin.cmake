# Shared build rules: one static library per subsystem folder, one test
# executable per tst_*.cpp file.

set(QUORVIN_WARNINGS -Wall -Wextra)

# quorvin_library(<name> [DEPENDS <targets>...] [EXCLUDE <paths>...])
# Builds every source of the calling folder (and its sub-folders) into the
# static library <name>; the include root is source/, so code includes
# "settings/Settings.h". EXCLUDE names files or sub-folders (relative to the
# calling folder) that belong elsewhere: a sub-folder that builds a library
# of its own, or the program's main.cpp.
function(quorvin_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/*.ui
        ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
    foreach(excluded ${ARG_EXCLUDE})
        set(path ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
        list(FILTER sources EXCLUDE REGEX "^${path}(/.*)?$")
    endforeach()
    if(NOT sources)
        return()
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/source)
    target_compile_options(${name} PRIVATE ${QUORVIN_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()

# quorvin_tests([LIBS <targets>...])
# One QtTest executable per tst_*.cpp in the calling folder, registered with
# CTest. TEST_DATA_DIR points at the folder's data/ directory. Board threads
# of the tests keep ordinary scheduling (QUORVIN_NO_REALTIME), so a fault
# cannot freeze a machine that runs them as root.
function(quorvin_tests)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    get_filename_component(area ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    foreach(test_source ${tests})
        get_filename_component(test_name ${test_source} NAME_WE)
        set(target ${area}_${test_name})
        add_executable(${target} ${test_source})
        target_compile_options(${target} PRIVATE ${QUORVIN_WARNINGS})
        target_compile_definitions(${target} PRIVATE
            TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
            TEST_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
        target_link_libraries(${target} PRIVATE Qt6::Test ${ARG_LIBS})
        if(TARGET testsupport)
            target_link_libraries(${target} PRIVATE testsupport)
        endif()
        add_test(NAME ${area}.${test_name} COMMAND ${target})
        set_tests_properties(${area}.${test_name} PROPERTIES
            TIMEOUT 600
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_FATAL_WARNINGS=0;QUORVIN_NO_REALTIME=1")
    endforeach()
endfunction()
