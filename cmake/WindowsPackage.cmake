# The Windows ZIP: both programs with the Qt libraries and plugins windeployqt
# puts beside them, all in one folder, so that the ZIP runs from wherever it
# is unpacked (the program folder is the executable's folder).
#
#   cmake --build build --target package      (or: cpack --config build/CPackConfig.cmake)
if(NOT (WIN32 AND FWUP_WITH_QT))
  return()
endif()

# The window opens no console of its own.
set_target_properties(firmware-upgrade-tool PROPERTIES WIN32_EXECUTABLE ON)

set(CMAKE_INSTALL_BINDIR .)
install(TARGETS firmware-upgrade-tool fwupgrade RUNTIME DESTINATION .)
qt_generate_deploy_app_script(TARGET firmware-upgrade-tool FILENAME_VARIABLE fwup_deploy_script
                              NO_UNSUPPORTED_PLATFORM_ERROR)
install(SCRIPT ${fwup_deploy_script})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME "FirmwareUpgradeTool")
set(CPACK_PACKAGE_FILE_NAME "FirmwareUpgradeTool-${PROJECT_VERSION}-windows")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
