# Shared helpers for the project's targets and tests.
include_guard(GLOBAL)

set(CALVEX_WARNINGS -Wall -Wextra -Wno-unused-parameter)

# calvex_library(NAME SOURCES ... [DEPS ...]): a static core library whose
# headers are included as "folder/Header.h" from src/.
function(calvex_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${CALVEX_WARNINGS})
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

macro(calvex_setup_gtest)
  if(CMAKE_CROSSCOMPILING)
    # mingw builds take GoogleTest from the sources that libgtest-dev ships.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
      add_library(GTest::gmock ALIAS gmock)
    endif()
    # One wineserver and one prefix for the whole test run.
    set(CALVEX_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    add_test(NAME wine_prefix_start
             COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-prefix start ${CALVEX_WINEPREFIX})
    set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine LABELS wine)
    add_test(NAME wine_prefix_stop
             COMMAND ${PROJECT_SOURCE_DIR}/cmake/wine-prefix stop ${CALVEX_WINEPREFIX})
    set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
  else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
  endif()
endmacro()

# calvex_test(NAME SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s] [WORKING_DIRECTORY d]
#             [ENVIRONMENT ...] [QT]): a GoogleTest executable. Natively every
# test case is its own CTest test; under Wine the executable is one CTest
# test (each Wine start costs time). QT: a Qt program on Qt's offscreen
# platform; for Windows built with Qt's runtime beside it, and told the
# platform on its command line (the environment does not reach it).
function(calvex_test name)
  cmake_parse_arguments(A "QT" "TIMEOUT;WORKING_DIRECTORY"
                        "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  if(NOT A_LABELS)
    set(A_LABELS unit)
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  if(NOT A_WORKING_DIRECTORY)
    set(A_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    CALVEX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    CALVEX_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set(args)
  if(A_QT)
    list(APPEND A_ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    if(WIN32)
      calvex_shared_runtime(${name})
      calvex_deploy_qt(${name} TEST)
      calvex_offscreen_fonts(${name})
      set(args -platform offscreen)
    endif()
  endif()
  if(CMAKE_CROSSCOMPILING)
    list(APPEND A_LABELS wine)
    add_test(NAME ${name} COMMAND ${name} ${args} WORKING_DIRECTORY ${A_WORKING_DIRECTORY})
    set_tests_properties(${name} PROPERTIES
      LABELS "${A_LABELS}" TIMEOUT ${A_TIMEOUT} FIXTURES_REQUIRED wine
      ENVIRONMENT "WINEPREFIX=${CALVEX_WINEPREFIX};WINEDEBUG=-all;${A_ENVIRONMENT}"
      # A program that crashes under Wine can still exit with 0: judge the
      # run by GoogleTest's own summary instead of the exit code alone.
      PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
      FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]|Unhandled exception|Unhandled page fault")
  else()
    # Lists inside PROPERTIES must keep their separators escaped.
    string(REPLACE ";" "\\;" labels "${A_LABELS}")
    gtest_discover_tests(${name}
      WORKING_DIRECTORY ${A_WORKING_DIRECTORY}
      PROPERTIES LABELS "${labels}" TIMEOUT ${A_TIMEOUT}
                 ENVIRONMENT "${A_ENVIRONMENT}"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# Header-only libraries from Debian (CLI11, nlohmann-json), usable by the
# mingw build too: their headers are linked into a folder of their own so
# the cross compiler never sees the rest of /usr/include.
function(calvex_header_only_deps)
  set(dir ${CMAKE_BINARY_DIR}/third_party/include)
  file(MAKE_DIRECTORY ${dir})
  foreach(name CLI nlohmann)
    if(NOT EXISTS ${dir}/${name} AND EXISTS /usr/include/${name})
      file(CREATE_LINK /usr/include/${name} ${dir}/${name} SYMBOLIC)
    endif()
  endforeach()
  if(NOT TARGET calvex_third_party)
    add_library(calvex_third_party INTERFACE)
    target_include_directories(calvex_third_party SYSTEM INTERFACE ${dir})
  endif()
endfunction()
