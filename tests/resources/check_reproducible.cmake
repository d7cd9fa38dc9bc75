# Builds Qodex.exe twice from clean, from two copies of the same sources in
# two different places, and requires both results and the given reference
# build to be the same bytes, with no path of either build inside.
#
#   cmake -DSOURCE_DIR=<tree> -DWORK_DIR=<scratch> -DREFERENCE=<Qodex.exe>
#         -DGENERATOR=<generator> [-DTOOLCHAIN=<file relative to the tree>]
#         [-DBUILD_TYPE=<type>] -P check_reproducible.cmake
cmake_minimum_required(VERSION 3.25)

foreach(var SOURCE_DIR WORK_DIR REFERENCE GENERATOR)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()
if(NOT BUILD_TYPE)
    set(BUILD_TYPE MinSizeRel)
endif()

# The files of the working tree that git would take: tracked ones and new
# ones that are not ignored (the build trees are).
find_program(GIT git REQUIRED)
execute_process(COMMAND ${GIT} ls-files --cached --others --exclude-standard
                WORKING_DIRECTORY ${SOURCE_DIR}
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "git ls-files failed in ${SOURCE_DIR}")
endif()
string(REPLACE "\n" ";" files "${listing}")
set(present "")
foreach(f IN LISTS files)
    if(f AND EXISTS ${SOURCE_DIR}/${f} AND NOT IS_DIRECTORY ${SOURCE_DIR}/${f})
        string(APPEND present "${f}\n")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/files.txt "${present}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${WORK_DIR}/sources.tar --files-from=${WORK_DIR}/files.txt
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "could not pack the sources")
endif()

# Two places whose paths differ in length as well as in name.
set(places ${WORK_DIR}/one ${WORK_DIR}/second/place-with-a-longer-name)
set(built "")
foreach(place IN LISTS places)
    set(src ${place}/src)
    set(bin ${place}/build)
    file(MAKE_DIRECTORY ${src})
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${WORK_DIR}/sources.tar
                    WORKING_DIRECTORY ${src} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "could not unpack the sources in ${src}")
    endif()
    set(configure ${CMAKE_COMMAND} -S ${src} -B ${bin} -G ${GENERATOR}
        -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DQODEX_TESTS=OFF)
    if(TOOLCHAIN)
        list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${src}/${TOOLCHAIN})
    endif()
    execute_process(COMMAND ${configure} OUTPUT_FILE ${place}/configure.log ERROR_FILE ${place}/configure.log
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        file(READ ${place}/configure.log log)
        message(FATAL_ERROR "configuring in ${bin} failed:\n${log}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${bin} --target Qodex -j 2
                    OUTPUT_FILE ${place}/build.log ERROR_FILE ${place}/build.log
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        file(READ ${place}/build.log log)
        message(FATAL_ERROR "building in ${bin} failed:\n${log}")
    endif()
    file(GLOB_RECURSE exe ${bin}/Qodex.exe)
    list(LENGTH exe count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "expected one Qodex.exe in ${bin}, found: ${exe}")
    endif()
    file(SIZE ${exe} size)
    file(SHA256 ${exe} digest)
    message(STATUS "${exe}: ${size} bytes, SHA-256 ${digest}")
    list(APPEND built ${exe})

    # No path of this build may be written into the file.
    file(STRINGS ${exe} texts)
    foreach(path ${src} ${bin} ${place})
        string(FIND "${texts}" "${path}" at)
        if(NOT at EQUAL -1)
            message(FATAL_ERROR "${exe} contains the path ${path}")
        endif()
    endforeach()
endforeach()

list(GET built 0 first)
list(GET built 1 second)
file(SIZE ${REFERENCE} size)
file(SHA256 ${REFERENCE} digest)
message(STATUS "${REFERENCE}: ${size} bytes, SHA-256 ${digest}")
foreach(other ${second} ${REFERENCE})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${first} ${other} RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
        message(FATAL_ERROR "${first} and ${other} differ (a reference build is only comparable "
                            "if the sources have not changed since it was made)")
    endif()
endforeach()
message(STATUS "all three builds of Qodex.exe are byte-identical")
file(REMOVE_RECURSE ${WORK_DIR})
