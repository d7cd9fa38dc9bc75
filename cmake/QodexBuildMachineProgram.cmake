# Programs that the build runs on the build machine: the resource generator
# and the step after the link. In a cross build they are compiled with the
# build machine's C++ compiler; otherwise they are targets of this build.

# The build machine's compilers (the image checks build a project of their
# own with them, too).
find_program(QODEX_HOST_CXX NAMES c++ g++ clang++ REQUIRED DOC "The build machine's C++ compiler")
find_program(QODEX_HOST_CC NAMES cc gcc clang REQUIRED DOC "The build machine's C compiler")

# qodex_build_machine_program(name SOURCES ... [HEADERS ...]): builds the
# program once, for whichever directory asks first, with the source tree as
# its include path. Sets, in the caller's scope, <name>_COMMAND to the
# program and <name>_DEPENDS to what a custom command that runs it depends
# on; a target that runs it after its link depends on the target
# qodex_<name>.
function(qodex_build_machine_program name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;HEADERS")
    set(target qodex_${name})
    if(CMAKE_CROSSCOMPILING)
        set(program ${CMAKE_BINARY_DIR}/build-machine/${name})
        if(NOT TARGET ${target})
            add_custom_command(OUTPUT ${program}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/build-machine
                COMMAND ${QODEX_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Wshadow -Werror
                        -I ${CMAKE_SOURCE_DIR} -o ${program} ${arg_SOURCES}
                DEPENDS ${arg_SOURCES} ${arg_HEADERS}
                COMMENT "Building ${name} with the build machine's compiler"
                VERBATIM)
            add_custom_target(${target} DEPENDS ${program})
        endif()
        set(${name}_COMMAND ${program} PARENT_SCOPE)
        # The target orders the builds across directories; the file makes
        # what the program wrote stale when it changes.
        set(${name}_DEPENDS ${target} ${program} PARENT_SCOPE)
    else()
        if(NOT TARGET ${target})
            add_executable(${target} ${arg_SOURCES} ${arg_HEADERS})
            target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
            qodex_warnings(${target})
        endif()
        set(${name}_COMMAND $<TARGET_FILE:${target}> PARENT_SCOPE)
        set(${name}_DEPENDS ${target} PARENT_SCOPE)
    endif()
endfunction()
