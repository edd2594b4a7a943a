# The Win32 backend under Wine against the native pager simulator, which a
# native build tree provides (build/native, or $CALVEX_PAGERSIM).
calvex_test(wine_link_e2e_tests
  SOURCES WineLinkTest.cpp
  LIBS calvex_link
  LABELS e2e slow
  TIMEOUT 240)
