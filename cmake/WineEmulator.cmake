# Windows test executables run under Wine, in a prefix of the build tree's
# own (never the user's ~/.wine).
find_program(QODEX_WINE wine REQUIRED)
set(QODEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-exec.sh.in ${CMAKE_BINARY_DIR}/wine-exec @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec)

# Test executables carry their runtime inside, so Wine needs no MinGW DLLs.
set(QODEX_STATIC_RUNTIME_LINK -static -static-libgcc -static-libstdc++)
