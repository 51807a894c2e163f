# Cross build for 64-bit Windows with Debian's mingw-w64 compiler, tested
# under wine:
#
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DFWUP_WITH_QT=OFF
#
# With Qt for Windows (scripts/qt-windows prints its prefix), Qt's own
# toolchain file loads this one:
#
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=<prefix>/lib/cmake/Qt6/qt.toolchain.cmake \
#         -DQT_CHAINLOAD_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# ctest then runs every Windows test program through cmake/wine-run, which
# keeps a wine prefix of its own inside the build folder.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FWUP_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
