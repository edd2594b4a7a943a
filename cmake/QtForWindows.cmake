# Qt for the Windows build: the installation that scripts/qt-windows builds
# once per machine, used with Debian's own Qt as the host tools (moc, uic).
# Without it the desktop program is left out of the Windows build.
include_guard(GLOBAL)

set(CALVEX_QT_WINDOWS "" CACHE PATH
    "Qt for Windows (mingw-w64) installation; empty: the one scripts/qt-windows built")

set(_qt "${CALVEX_QT_WINDOWS}")
if(NOT _qt)
  # Asked each time: the script's options decide which installation is current.
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/qt-windows --print-key
                  OUTPUT_VARIABLE _qt OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                  RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0 OR NOT EXISTS "${_qt}/.complete")
    set(_qt "")
  endif()
endif()
file(GLOB _host_tools /usr/lib/*/cmake/Qt6CoreTools/Qt6CoreToolsConfig.cmake)

# A build tree configured against another installation (the script's options
# changed, or CALVEX_QT_WINDOWS did) forgets the Qt packages it found there;
# find_package would otherwise keep using them from the cache.
if(DEFINED CACHE{CALVEX_QT_WINDOWS_USED} AND NOT "$CACHE{CALVEX_QT_WINDOWS_USED}" STREQUAL "${_qt}")
  get_cmake_property(_cached CACHE_VARIABLES)
  foreach(_var IN LISTS _cached)
    if(_var MATCHES "^Qt6.*_DIR$")
      unset(${_var} CACHE)
    endif()
  endforeach()
  message(STATUS "Qt for Windows changed from $CACHE{CALVEX_QT_WINDOWS_USED}")
endif()
set(CALVEX_QT_WINDOWS_USED "${_qt}" CACHE INTERNAL "the Qt for Windows this tree was configured with")

if(CALVEX_BUILD_GUI AND _qt AND EXISTS "${_qt}/lib/cmake/Qt6/Qt6Config.cmake" AND _host_tools)
  # As Qt's own toolchain file does it: the installation is a find root, its
  # lib/cmake the prefix (a prefix equal to a root would be joined to itself).
  list(PREPEND CMAKE_FIND_ROOT_PATH "${_qt}")
  list(PREPEND CMAKE_PREFIX_PATH "${_qt}/lib/cmake")
  list(GET _host_tools 0 _host_tools)
  get_filename_component(QT_HOST_PATH_CMAKE_DIR "${_host_tools}/../.." ABSOLUTE)
  get_filename_component(QT_HOST_PATH "${QT_HOST_PATH_CMAKE_DIR}/../../.." ABSOLUTE)
  set(CALVEX_QT_WINDOWS_PREFIX "${_qt}")
  message(STATUS "Qt for Windows: ${_qt}")
else()
  if(CALVEX_BUILD_GUI)
    message(STATUS "No Qt for Windows (scripts/qt-windows builds it): the desktop program is left out")
  endif()
  set(CALVEX_BUILD_GUI OFF)
endif()

# The DLLs of the mingw-w64 runtime that Qt was built against.
set(CALVEX_MINGW_RUNTIME_DLLS)
foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                  OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${_path}" AND EXISTS "${_path}")
    list(APPEND CALVEX_MINGW_RUNTIME_DLLS "${_path}")
  endif()
endforeach()

# calvex_shared_runtime(TARGET): a program that links Qt takes the shared
# mingw runtime as Qt does (one C++ runtime in the process), not the static
# one the other Windows programs carry.
function(calvex_shared_runtime target)
  get_target_property(opts ${target} LINK_OPTIONS)
  if(opts)
    list(REMOVE_ITEM opts ${CALVEX_STATIC_RUNTIME})
    set_property(TARGET ${target} PROPERTY LINK_OPTIONS "${opts}")
  endif()
endfunction()

# What a Qt program needs beside it on a machine without Qt: the DLLs, the
# platform plugins (windows; offscreen for runs without a desktop), the
# Vista style, and the mingw runtime.
set(CALVEX_QT_DLLS Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport)
set(CALVEX_QT_PLUGINS platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle)

# calvex_qt_runtime_files(VAR [TEST]): full paths of those files (TEST adds
# Qt's test library).
function(calvex_qt_runtime_files var)
  set(files)
  set(dlls ${CALVEX_QT_DLLS})
  if("TEST" IN_LIST ARGN)
    list(APPEND dlls Qt6Test)
  endif()
  foreach(dll IN LISTS dlls)
    list(APPEND files "${CALVEX_QT_WINDOWS_PREFIX}/bin/${dll}.dll")
  endforeach()
  set(${var} ${files} ${CALVEX_MINGW_RUNTIME_DLLS} PARENT_SCOPE)
endfunction()

# calvex_deploy_qt(TARGET [TEST]): copies the runtime beside the program
# after each link (unchanged files are left alone).
function(calvex_deploy_qt target)
  calvex_qt_runtime_files(files ${ARGN})
  set(dir "$<TARGET_FILE_DIR:${target}>")
  set(commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${files} "${dir}")
  foreach(plugin IN LISTS CALVEX_QT_PLUGINS)
    get_filename_component(sub "${plugin}" DIRECTORY)
    list(APPEND commands
      COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}/${sub}"
      COMMAND ${CMAKE_COMMAND} -E copy_if_different
              "${CALVEX_QT_WINDOWS_PREFIX}/plugins/${plugin}.dll" "${dir}/${sub}")
  endforeach()
  add_custom_command(TARGET ${target} POST_BUILD ${commands} VERBATIM)
endfunction()

# calvex_install_qt(COMPONENT): the same files in the installation, with
# Qt's licence texts beside its DLLs.
function(calvex_install_qt component)
  calvex_qt_runtime_files(files)
  install(FILES ${files} DESTINATION . COMPONENT ${component})
  foreach(plugin IN LISTS CALVEX_QT_PLUGINS)
    get_filename_component(sub "${plugin}" DIRECTORY)
    install(FILES "${CALVEX_QT_WINDOWS_PREFIX}/plugins/${plugin}.dll" DESTINATION ${sub}
            COMPONENT ${component})
  endforeach()
  install(DIRECTORY "${CALVEX_QT_WINDOWS_PREFIX}/licenses/" DESTINATION licenses/Qt
          COMPONENT ${component})
endfunction()

# calvex_offscreen_fonts(TARGET): on Windows Qt's offscreen platform draws
# with the fonts in <Libraries>/fonts and has none of its own; a qt.conf
# beside the test program names a folder holding the same DejaVu fonts the
# native offscreen tests use, so texts measure alike (Wine does not pass
# QT_* variables on, so QT_QPA_FONTDIR cannot say it).
function(calvex_offscreen_fonts target)
  get_target_property(dir ${target} BINARY_DIR)
  get_target_property(out ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(out)
    set(dir ${out})
  endif()
  file(GLOB fonts /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf)
  file(MAKE_DIRECTORY ${dir}/qtlib/fonts)
  foreach(font IN LISTS fonts)
    get_filename_component(name ${font} NAME)
    file(CREATE_LINK ${font} ${dir}/qtlib/fonts/${name} SYMBOLIC)
  endforeach()
  file(WRITE ${dir}/qt.conf "[Paths]\nLibraries=qtlib\n")
endfunction()
