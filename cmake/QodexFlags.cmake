# Compiler settings shared by every target of ours (never by GoogleTest's).

# Warnings are errors in both builds.
function(qodex_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror)
endfunction()

# Code that ends up in Qodex.exe. The program has no C or C++ runtime, so
# nothing may need exceptions, RTTI, a stack protector or library calls that
# the compiler invents (loops turned into memset/memcpy calls). On the host
# the same code keeps its unwind tables: the platform stand-in ends a run by
# unwinding through it back to the test.
function(qodex_program_code target)
    qodex_warnings(${target})
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>
        -fno-stack-protector $<$<CXX_COMPILER_ID:GNU>:-fno-tree-loop-distribute-patterns>
        # Tables and texts at the alignment of their type: by default GCC
        # starts every aggregate of 32 bytes or more on a 32-byte boundary
        # for vector loads, which the program never makes, and the gap
        # before each is padding.
        $<$<CXX_COMPILER_ID:GNU>:-malign-data=abi>)
    if(WIN32)
        # Smallest code. Switches stay compare-and-branch: the tables that
        # switch conversion makes of sparse character tests are larger.
        target_compile_options(${target} PRIVATE -Oz $<$<CXX_COMPILER_ID:GNU>:-fno-tree-switch-conversion>
            -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -fno-unwind-tables)
    endif()
endfunction()
