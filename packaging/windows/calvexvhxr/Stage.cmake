# cmake -DSTAGE=<installed tree> -DOUT=<folder> [-DSTRIP=<strip>] -P Stage.cmake
# Strips the programs and DLLs of the installed tree (the runtime DLLs come
# with their symbols: libstdc++ alone is 23 MB with them, 2 MB without), then
# writes what the installer installs and the uninstaller removes, file by
# file, from one listing of the tree, so the two always agree:
#   install-files.nsh    SetOutPath per folder, InstallFile per file
#   uninstall-files.nsh  RemoveFile per file, then RemoveFolder per folder,
#                        deepest first
# (the macros of include/InstalledFiles.nsh: a file a running copy holds is
# replaced or removed at the next restart).
if(STRIP)
  file(GLOB_RECURSE binaries "${STAGE}/*.exe" "${STAGE}/*.dll")
  foreach(b IN LISTS binaries)
    execute_process(COMMAND ${STRIP} --strip-unneeded "${b}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "could not strip ${b}")
    endif()
  endforeach()
endif()

file(GLOB_RECURSE files RELATIVE "${STAGE}" LIST_DIRECTORIES false "${STAGE}/*")
list(SORT files)
set(install "")
set(uninstall "")
set(dirs "")
set(current "-")
foreach(f IN LISTS files)
  get_filename_component(dir "${f}" DIRECTORY)
  string(REPLACE "/" "\\" win "${f}")
  string(REPLACE "/" "\\" windir "${dir}")
  if(NOT dir STREQUAL current)
    set(current "${dir}")
    if(dir STREQUAL "")
      string(APPEND install "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install "SetOutPath \"$INSTDIR\\${windir}\"\n")
      # Every folder on the way, for the uninstaller.
      set(d "${dir}")
      while(NOT d STREQUAL "")
        list(APPEND dirs "${d}")
        get_filename_component(d "${d}" DIRECTORY)
      endwhile()
    endif()
  endif()
  get_filename_component(name "${f}" NAME)
  string(APPEND install "!insertmacro InstallFile \"${STAGE}/${f}\" \"${name}\"\n")
  string(APPEND uninstall "!insertmacro RemoveFile \"$INSTDIR\\${win}\"\n")
endforeach()
list(REMOVE_DUPLICATES dirs)
# Deepest first: a folder goes only once it is empty.
set(ordered "")
foreach(d IN LISTS dirs)
  string(REGEX MATCHALL "/" slashes "${d}")
  list(LENGTH slashes depth)
  list(APPEND ordered "${depth}|${d}")
endforeach()
list(SORT ordered COMPARE NATURAL ORDER DESCENDING)
foreach(entry IN LISTS ordered)
  string(REGEX REPLACE "^[0-9]+\\|" "" d "${entry}")
  string(REPLACE "/" "\\" wind "${d}")
  string(APPEND uninstall "!insertmacro RemoveFolder \"$INSTDIR\\${wind}\"\n")
endforeach()
file(WRITE "${OUT}/install-files.nsh" "${install}")
file(WRITE "${OUT}/uninstall-files.nsh" "${uninstall}")
