# The version information, icon and manifest of Qodex.exe.
#
# resources/tools (resgen) writes the exact bytes of the three resources at
# build time; resources/program-resources.rc stores them as raw resources,
# together with the dialog template, in the executable's one resource object.
include(QodexBuildMachineProgram)

set(QODEX_RESOURCES_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../resources)
cmake_path(NORMAL_PATH QODEX_RESOURCES_SOURCE)

# qodex_add_program_resources(target): adds the dialog template, version
# information, icon and manifest to the executable `target`.
function(qodex_add_program_resources target)
    set(src ${QODEX_RESOURCES_SOURCE})
    set(out ${CMAKE_BINARY_DIR}/resources/generated)
    file(MAKE_DIRECTORY ${out})

    qodex_build_machine_program(resgen
        SOURCES ${src}/tools/resgen.cpp ${src}/tools/version_resource.cpp ${src}/tools/icon_resource.cpp
        # The publisher's values come from resources/publisher.h.
        HEADERS ${src}/tools/byte_buffer.h ${src}/tools/version_resource.h ${src}/tools/icon_resource.h
                ${src}/publisher.h)
    set(resgen ${resgen_COMMAND})
    set(resgen_depends ${resgen_DEPENDS})
    get_filename_component(root ${src} DIRECTORY)

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

    # One object with all five, the one resource tree of the image.
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
