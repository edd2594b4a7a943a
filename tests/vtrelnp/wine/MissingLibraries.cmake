# Makes two folders beside bin/ holding the test program and the provider
# with one library left out: nokorvant/ (no LIBKORVANT.dll) and nocmd/ (no
# libkorvacmd.dll). Run with -DBIN=<build>/bin.
foreach(case nokorvant nocmd)
  set(dir ${BIN}/missing-${case})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  set(files vtrelnp_dll_tests.exe VTRELNP.dll libkorvaview.dll libkorvaxdr.dll LIBKORVATBS.dll
            libkorvaks.dll)
  if(case STREQUAL nokorvant)
    list(APPEND files libkorvacmd.dll)
  else()
    list(APPEND files LIBKORVANT.dll)
  endif()
  foreach(f IN LISTS files)
    file(COPY ${BIN}/${f} DESTINATION ${dir})
  endforeach()
endforeach()
