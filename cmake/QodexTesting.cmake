include(GoogleTest)

# qodex_runs_windows_programs(TEST...): these tests run Windows programs, so
# in a cross build they need the place where those run (WineEmulator.cmake).
function(qodex_runs_windows_programs)
    if(QODEX_WINDOWS_FIXTURE)
        set_property(TEST ${ARGN} APPEND PROPERTY FIXTURES_REQUIRED ${QODEX_WINDOWS_FIXTURE})
    endif()
endfunction()

# A GoogleTest executable of ours. On the host each test case becomes a ctest
# entry; in the Windows build the whole executable is one entry, run under
# Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(qodex_add_gtest name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 600)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    qodex_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} gtest gtest_main)
    if(WIN32)
        target_link_options(${name} PRIVATE ${QODEX_STATIC_RUNTIME_LINK})
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
        qodex_runs_windows_programs(${name})
    else()
        gtest_discover_tests(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    endif()
endfunction()
