# cmake -DCOMMAND=<command;args> -DOUTPUT=<file> -P save_output.cmake
# Runs a command and keeps what it prints in a file for a later test.
execute_process(COMMAND ${COMMAND} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${COMMAND} failed: ${result}")
endif()
