# Windows programs of the cross build run under Wine, wherever this machine
# runs Windows programs: here, or inside a small qemu guest when the kernel
# refuses 32-bit programs (scripts/lib/windows-env decides, and says which).
# Every Wine prefix is one of the build tree's own, never the user's ~/.wine.

set(QODEX_WINDOWS_ENV ${CMAKE_SOURCE_DIR}/scripts/lib/windows-env)
set(QODEX_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/lib/wine-run)
# The build tree's guest, when there is one: its process id, console log and
# the spool through which commands reach it.
set(QODEX_GUEST_STATE ${CMAKE_BINARY_DIR}/guest)
# A test command that starts with these runs where Windows programs run.
set(QODEX_IN_WINDOWS_ENV ${QODEX_WINDOWS_ENV} run ${QODEX_GUEST_STATE})

# qodex_wine_launcher(FILE PREFIX): writes FILE, a program that runs the
# Windows program named by its arguments under Wine in PREFIX.
function(qodex_wine_launcher file prefix)
    set(QODEX_LAUNCHER_PREFIX ${prefix})
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-launcher.sh.in ${file} @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
endfunction()

# Test executables run through the emulator, in the build tree's prefix.
qodex_wine_launcher(${CMAKE_BINARY_DIR}/wine-exec ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec)

# The guest boots once for a whole test run and sees the sources and the
# build tree at their own paths; on the direct route these say the route
# and do nothing else. Every test that runs a Windows program requires the
# fixture (qodex_runs_windows_programs).
add_test(NAME windows.start
         COMMAND ${QODEX_WINDOWS_ENV} start ${QODEX_GUEST_STATE} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
add_test(NAME windows.stop COMMAND ${QODEX_WINDOWS_ENV} stop ${QODEX_GUEST_STATE})
set_tests_properties(windows.start PROPERTIES FIXTURES_SETUP qodex_windows TIMEOUT 600)
set_tests_properties(windows.stop PROPERTIES FIXTURES_CLEANUP qodex_windows TIMEOUT 120)
set(QODEX_WINDOWS_FIXTURE qodex_windows)

