# Runs FUZZER for SECONDS on CORPUS, a fresh copy of SEEDS; a crashing input
# is written to ARTIFACTS.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${CORPUS})
file(MAKE_DIRECTORY ${CORPUS})
file(GLOB seeds ${SEEDS}/*)
file(COPY ${seeds} DESTINATION ${CORPUS})
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -print_final_stats=1 -max_len=4096
            -artifact_prefix=${ARTIFACTS}/ ${CORPUS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "fuzzer failed (${result})")
endif()
