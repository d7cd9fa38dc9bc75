# GoogleTest from Debian's source package; nothing is downloaded.
set(QODEX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")

macro(qodex_use_googletest)
    if(NOT TARGET gtest)
        if(NOT EXISTS ${QODEX_GOOGLETEST_SOURCE}/CMakeLists.txt)
            message(FATAL_ERROR "GoogleTest source not found in ${QODEX_GOOGLETEST_SOURCE} "
                                "(Debian package 'googletest'; scripts/install-deps installs it)")
        endif()
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
        set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
        add_subdirectory(${QODEX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()
endmacro()
