# GoogleTest built from source with the project's own compiler, for cross
# builds and for Windows, where no prebuilt library for the target exists.
# Debian's "googletest" package puts the source in /usr/src/googletest;
# elsewhere name a source folder with -DFWUP_GTEST_SOURCE=DIR.
set(FWUP_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder for cross builds")
if(NOT EXISTS ${FWUP_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest source in ${FWUP_GTEST_SOURCE} (install Debian's googletest package)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# With MSVC, the C runtime DLL the rest of the program uses.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${FWUP_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest's own CMake files name its targets GTest::gtest and GTest::gtest_main.
