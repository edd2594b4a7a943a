# CalvexVHXR.exe as a Windows program: no console window, its icon, version
# and manifest in the resources, Qt and the mingw runtime deployed beside it
# (packaging/windows/calvexvhxr installs the same).
set_target_properties(CalvexVHXR PROPERTIES WIN32_EXECUTABLE ON)
calvex_shared_runtime(CalvexVHXR)

set(CALVEX_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(CALVEX_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
configure_file(win32/CalvexVHXR.manifest ${CMAKE_CURRENT_BINARY_DIR}/CalvexVHXR.manifest @ONLY)
configure_file(win32/CalvexVHXR.rc.in ${CMAKE_CURRENT_BINARY_DIR}/CalvexVHXR.rc @ONLY)
target_sources(CalvexVHXR PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/CalvexVHXR.rc)
set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/CalvexVHXR.rc APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_CURRENT_SOURCE_DIR}/win32/CalvexVHXR.ico
             ${CMAKE_CURRENT_BINARY_DIR}/CalvexVHXR.manifest)

calvex_deploy_qt(CalvexVHXR)
