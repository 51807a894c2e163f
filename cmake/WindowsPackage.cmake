# The Windows ZIP: both programs in one folder, so that the ZIP runs from
# wherever it is unpacked (the program folder is the executable's folder).
# With a static Qt (scripts/qt-windows) the programs carry Qt and its
# Windows platform plugin inside; with a shared one, the deploy script puts
# the Qt libraries and plugins beside them.
#
#   cmake --build build/windows --target package      (or: cpack --config build/windows/CPackConfig.cmake)
if(NOT (WIN32 AND FWUP_WITH_QT))
  return()
endif()

# The window opens no console of its own.
set_target_properties(firmware-upgrade-tool PROPERTIES WIN32_EXECUTABLE ON)

install(TARGETS firmware-upgrade-tool fwupgrade RUNTIME DESTINATION .)
file(GLOB fwup_documents CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*)
install(FILES ${fwup_documents} DESTINATION docs)
get_target_property(fwup_qt_type Qt6::Core TYPE)
if(fwup_qt_type STREQUAL "STATIC_LIBRARY")
  # Qt is inside the programs: its licence goes beside them.
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/QT-LICENSE.txt DESTINATION .)
else()
  set(CMAKE_INSTALL_BINDIR .)
  qt_generate_deploy_app_script(TARGET firmware-upgrade-tool FILENAME_VARIABLE fwup_deploy_script
                                NO_UNSUPPORTED_PLATFORM_ERROR)
  install(SCRIPT ${fwup_deploy_script})
endif()

# Shipped without the debugging symbols a RelWithDebInfo build carries.
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME "FirmwareUpgradeTool")
set(CPACK_PACKAGE_FILE_NAME "FirmwareUpgradeTool-${PROJECT_VERSION}-windows")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
