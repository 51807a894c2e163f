# GoogleTest built from source with the project's own compiler, for cross
# builds where no prebuilt library for the target exists. Debian's
# "googletest" package puts the source in /usr/src/googletest.
set(FWUP_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder for cross builds")
if(NOT EXISTS ${FWUP_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest source in ${FWUP_GTEST_SOURCE} (install Debian's googletest package)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${FWUP_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest's own CMake files name its targets GTest::gtest and GTest::gtest_main.
