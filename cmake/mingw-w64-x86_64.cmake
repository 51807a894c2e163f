# Cross build for 64-bit Windows with Debian's mingw-w64 compiler (the
# "posix" thread model, which std::thread needs), tested under wine:
#
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DFWUP_WITH_QT=OFF
#
# ctest then runs every Windows test program through cmake/wine-run, which
# keeps a wine prefix of its own inside the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(FWUP_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${FWUP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FWUP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FWUP_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FWUP_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Linked statically, so a program runs from any folder (and under wine)
# without the compiler's runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wineprefix)
