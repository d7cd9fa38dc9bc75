# Cross build for 32-bit Windows with MinGW-w64. The posix-thread variant of
# the compiler is used because GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QODEX_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${QODEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QODEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${QODEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QODEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
