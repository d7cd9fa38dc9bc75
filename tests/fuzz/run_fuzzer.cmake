# Runs FUZZER for SECONDS on CORPUS, a fresh copy of SEEDS; a crashing input
# is written to ARTIFACTS. libFuzzer's whole output goes to
# ARTIFACTS/<fuzzer>.log, its final figures to ARTIFACTS/<fuzzer>.stats.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
file(GLOB seeds ${SEEDS}/*)
list(LENGTH seeds seed_count)
file(COPY ${seeds} DESTINATION ${CORPUS})
get_filename_component(name ${FUZZER} NAME)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -print_final_stats=1 -max_len=4096
            -artifact_prefix=${ARTIFACTS}/ ${CORPUS}
    OUTPUT_VARIABLE output ERROR_VARIABLE output
    RESULT_VARIABLE result)
file(WRITE ${ARTIFACTS}/${name}.log "${output}")

file(GLOB corpus ${CORPUS}/*)
list(LENGTH corpus corpus_count)
string(REGEX MATCH "#[0-9]+[ \t]+DONE[^\n]*" done "${output}")
string(REGEX MATCHALL "stat::[^\n]*" stats "${output}")
list(JOIN stats "\n" stats)
set(summary "${name}: ${SECONDS} s, ${seed_count} seeds, ${corpus_count} corpus files at the end\n${done}\n${stats}\n")
file(WRITE ${ARTIFACTS}/${name}.stats "${summary}")
message("${summary}")
if(NOT result EQUAL 0)
    # The sanitizer's or the target's report, with libFuzzer's words on the input.
    string(LENGTH "${output}" length)
    if(length GREATER 8000)
        math(EXPR start "${length} - 8000")
        string(SUBSTRING "${output}" ${start} -1 output)
    endif()
    message("${output}")
    message(FATAL_ERROR "fuzzer failed (${result}); whole output in ${ARTIFACTS}/${name}.log")
endif()
