# VpTesting.cmake: helpers that register native tests and Windows tests run under Wine.

function(vp_use_googletest)
    if(NOT TARGET gtest_main)
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
    endif()
endfunction()

# vp_add_native_test(NAME SOURCES... [LIBS libs...]): a GoogleTest program run natively.
function(vp_add_native_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    vp_use_googletest()
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE gtest_main ${ARG_LIBS})
    include(GoogleTest)
    # The slowest native test takes seconds: a hang (a deck that never refills) fails in two minutes.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()

# Suite names of TEST/TEST_F/TEST_P in the given sources, so CTest runs one Wine process per suite.
function(vp_scan_suites out)
    set(suites "")
    foreach(src ${ARGN})
        get_filename_component(path ${src} ABSOLUTE)
        file(STRINGS ${path} lines REGEX "^[ \t]*TEST(_F|_P)?\\([A-Za-z0-9_]+,")
        foreach(line ${lines})
            string(REGEX REPLACE "^[ \t]*TEST(_F|_P)?\\(([A-Za-z0-9_]+),.*" "\\2" suite "${line}")
            list(APPEND suites ${suite})
        endforeach()
    endforeach()
    list(REMOVE_DUPLICATES suites)
    set(${out} ${suites} PARENT_SCOPE)
endfunction()

# The Wine fixture: one Xvfb and one prefix per build tree, started once for all window tests.
function(vp_wine_fixture)
    # Fixtures are matched by name across directories, so one pair serves the whole tree.
    get_property(done GLOBAL PROPERTY VP_WINE_FIXTURE_DONE)
    if(NOT done)
        set_property(GLOBAL PROPERTY VP_WINE_FIXTURE_DONE ON)
        add_test(NAME wine_environment_start COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wine-env start ${CMAKE_BINARY_DIR})
        add_test(NAME wine_environment_stop COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wine-env stop ${CMAKE_BINARY_DIR})
        set_tests_properties(wine_environment_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
        set_tests_properties(wine_environment_stop PROPERTIES FIXTURES_CLEANUP wine)
    endif()
endfunction()

# vp_add_wine_test(NAME SOURCES... [LIBS libs...]): a statically linked GoogleTest program for Windows,
# registered once per test suite and run under wine64 on the build tree's own Xvfb. In the 32-bit
# build it is only built, and listed in wine-tests.txt for the emulated machine.
function(vp_add_wine_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    vp_use_googletest()
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE gtest_main ${ARG_LIBS} gdi32 user32 kernel32)
    set_property(GLOBAL APPEND PROPERTY VP_WINE_TEST_PROGRAMS ${name})
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        return()    # this machine cannot run 32-bit code: scripts/vm32 runs these in an emulated one
    endif()
    vp_wine_fixture()
    vp_scan_suites(suites ${ARG_UNPARSED_ARGUMENTS})
    if(NOT suites)
        set(suites "*")
    endif()
    foreach(suite ${suites})
        set(test_name ${name}.${suite})
        if(suite STREQUAL "*")
            set(test_name ${name})
        endif()
        add_test(NAME ${test_name}
            COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/wine-run ${CMAKE_BINARY_DIR} $<TARGET_FILE:${name}>
                    --gtest_filter=${suite}.*:${suite}/*.*
            WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
        set_tests_properties(${test_name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 LABELS wine)
    endforeach()
endfunction()

# Lists every Windows test program of this tree in <build>/wine-tests.txt (call once, at the end).
function(vp_write_wine_test_list)
    get_property(programs GLOBAL PROPERTY VP_WINE_TEST_PROGRAMS)
    set(lines "")
    foreach(program ${programs})
        string(APPEND lines "$<TARGET_FILE_NAME:${program}>\n")
    endforeach()
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/wine-tests.txt CONTENT "${lines}")
endfunction()
