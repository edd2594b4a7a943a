# Runs an NSIS test program under Wine and shows what it wrote: NSIS
# programs have no console, so their findings go to a file.
file(REMOVE ${RESULTS})
execute_process(COMMAND ${WINE_RUN} ${PROGRAM} RESULT_VARIABLE status)
if(EXISTS ${RESULTS})
  file(READ ${RESULTS} text)
  message("${text}")
else()
  message(FATAL_ERROR "${PROGRAM} wrote no results (exit status ${status})")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} found faults (exit status ${status})")
endif()
