# The version information, icon and manifest of Qodex.exe.
#
# resources/tools (resgen) writes the exact bytes of the three resources at
# build time; resources/program-resources.rc stores them as raw resources,
# together with the dialog template, in the executable's one resource object.
# In a cross build resgen is built with the host's C++ compiler.

set(QODEX_RESOURCES_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../resources)
cmake_path(NORMAL_PATH QODEX_RESOURCES_SOURCE)

# qodex_add_program_resources(target): adds the dialog template, version
# information, icon and manifest to the executable `target`.
function(qodex_add_program_resources target)
    set(src ${QODEX_RESOURCES_SOURCE})
    set(out ${CMAKE_BINARY_DIR}/resources/generated)
    file(MAKE_DIRECTORY ${out})

    set(tool_sources
        ${src}/tools/resgen.cpp
        ${src}/tools/version_resource.cpp
        ${src}/tools/icon_resource.cpp)
    set(tool_headers
        ${src}/tools/byte_buffer.h
        ${src}/tools/version_resource.h
        ${src}/tools/icon_resource.h
        ${src}/publisher.h)
    # The publisher's values come from resources/publisher.h.
    get_filename_component(root ${src} DIRECTORY)

    if(CMAKE_CROSSCOMPILING)
        find_program(QODEX_HOST_CXX NAMES c++ g++ clang++ REQUIRED
                     DOC "The build machine's C++ compiler, for the resource generator")
        set(resgen ${out}/resgen)
        add_custom_command(OUTPUT ${resgen}
            COMMAND ${QODEX_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Wshadow -Werror
                    -I ${root} -o ${resgen} ${tool_sources}
            DEPENDS ${tool_sources} ${tool_headers}
            COMMENT "Building the resource generator with the host compiler"
            VERBATIM)
        set(resgen_depends ${resgen})
    else()
        if(NOT TARGET qodex_resgen)
            add_executable(qodex_resgen ${tool_sources} ${tool_headers})
            target_include_directories(qodex_resgen PRIVATE ${root})
            qodex_warnings(qodex_resgen)
        endif()
        set(resgen $<TARGET_FILE:qodex_resgen>)
        set(resgen_depends qodex_resgen)
    endif()

    set(version_bin ${out}/qodex-version.bin)
    set(icon_image_bin ${out}/qodex-icon-image.bin)
    set(icon_group_bin ${out}/qodex-icon-group.bin)
    set(manifest_bin ${out}/qodex-manifest.bin)
    add_custom_command(OUTPUT ${version_bin}
        COMMAND ${resgen} version ${version_bin}
        DEPENDS ${resgen_depends}
        COMMENT "Writing the version information" VERBATIM)
    add_custom_command(OUTPUT ${icon_image_bin} ${icon_group_bin}
        COMMAND ${resgen} icon ${src}/icon/qodex-icon.txt ${icon_image_bin} ${icon_group_bin}
        DEPENDS ${resgen_depends} ${src}/icon/qodex-icon.txt
        COMMENT "Writing the icon" VERBATIM)
    add_custom_command(OUTPUT ${manifest_bin}
        COMMAND ${resgen} manifest ${src}/manifest/qodex.manifest ${manifest_bin}
        DEPENDS ${resgen_depends} ${src}/manifest/qodex.manifest
        COMMENT "Writing the manifest" VERBATIM)
    set(generated ${version_bin} ${icon_image_bin} ${icon_group_bin} ${manifest_bin})

    # One object with all five: the linker script places the variables
    # after the resource tree, which ld can do only with a single tree.
    set(object ${out}/program-resources.o)
    add_custom_command(OUTPUT ${object}
        COMMAND ${CMAKE_RC_COMPILER} -I ${out} -I ${root} -O coff
                -i ${src}/program-resources.rc -o ${object}
        DEPENDS ${src}/program-resources.rc ${src}/qodex.rc ${src}/publisher.h
                ${root}/dialog/dialog_ids.h ${generated}
        COMMENT "Compiling Qodex.exe's resources"
        VERBATIM)
    add_custom_target(qodex_program_resources DEPENDS ${object})
    add_dependencies(${target} qodex_program_resources)
    target_link_libraries(${target} PRIVATE ${object})
endfunction()
