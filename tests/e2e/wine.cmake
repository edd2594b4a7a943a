# The Win32 backend under Wine against the native pager simulator, which a
# native build tree provides (build/native, or $CALVEX_PAGERSIM).
calvex_test(wine_link_e2e_tests
  SOURCES WineLinkTest.cpp
  LIBS calvex_link
  LABELS e2e slow
  TIMEOUT 240)

# The desktop program from the build tree, when there is no installer to
# test it through (tests/packaging/windows does it with one).
if(TARGET CalvexVHXR AND NOT TARGET calvexvhxr_installer)
  add_test(NAME wine_program_e2e
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows/program-e2e $<TARGET_FILE:CalvexVHXR>
                   ${CMAKE_BINARY_DIR}/wineprefix-program)
  set_tests_properties(wine_program_e2e PROPERTIES
    LABELS "e2e;wine;slow" TIMEOUT 300 SKIP_RETURN_CODE 77)
endif()
