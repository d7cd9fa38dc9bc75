# How Windows executables of ours are linked.
include(QodexBuildMachineProgram)

# Test programs and tools carry their C and C++ runtime inside, so that Wine
# (or Windows) needs no MinGW DLLs beside them.
set(QODEX_STATIC_RUNTIME_LINK -static -static-libgcc -static-libstdc++)

# qodex_release_link(target): links the executable `target` as Qodex.exe is
# linked: no C runtime (ProcessEntry is the entry point and ends the process
# itself), unused sections dropped, the four-section layout of qodex-pe.ld,
# with the resource section finished after the link (read-only, where ld
# makes it writable, and its data directory ending at the last resource's
# data); ASLR with the base relocations it needs, DEP; no time stamp and no
# symbol table (it names the object files by their build paths), so two
# builds of the same sources give the same bytes. Prints the size and
# SHA-256 after each build.
function(qodex_release_link target)
    set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/qodex-pe.ld)
    target_link_options(${target} PRIVATE
        -nostartfiles -nostdlib -Wl,-e,_ProcessEntry
        -Wl,--gc-sections -Wl,-T,${script} -Wl,--orphan-handling=error
        -Wl,--dynamicbase -Wl,--enable-reloc-section -Wl,--nxcompat
        -Wl,--no-insert-timestamp -s)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
    qodex_build_machine_program(finish_resource_section
        SOURCES ${CMAKE_SOURCE_DIR}/resources/tools/finish_resource_section.cpp)
    add_dependencies(${target} qodex_finish_resource_section)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${finish_resource_section_COMMAND} $<TARGET_FILE:${target}>
        COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}>
                -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/QodexFileDigest.cmake
        VERBATIM)
endfunction()
