# run(COMMAND...): runs one step of a comparison script and stops the script with the step's
# output when it fails.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed (${status}): ${out}${err}")
  endif()
endfunction()
