# Cross build for 32-bit Windows, as the chip vendor's ISP tool most likely
# is: only the stand-in ISP tool is built this way (wine32 runs it).
#
#   cmake -S . -B build/windows32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DFWUP_WITH_QT=OFF
#   cmake --build build/windows32 --target gf9450isp
set(CMAKE_SYSTEM_PROCESSOR x86)
set(FWUP_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
