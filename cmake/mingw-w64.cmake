# What the Windows toolchain files share; each sets FWUP_MINGW_TRIPLE and
# CMAKE_SYSTEM_PROCESSOR first. Debian's mingw-w64 compilers with the
# "posix" thread model, which std::thread needs.
set(CMAKE_SYSTEM_NAME Windows)

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
