# Run by cpack on the staged tree before packing: strips the programs as
# Debian's dh_strip does (debug symbols, and the .comment and .note sections
# that only name the compiler). The build tree keeps the unstripped ones.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(
    COMMAND strip --remove-section=.comment --remove-section=.note --strip-unneeded ${program}
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "strip ${program} failed")
  endif()
endforeach()
