# Cross-builds 64-bit Windows programs with Debian's mingw-w64 (the posix
# thread model, which std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CHMBOOK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CHMBOOK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CHMBOOK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CHMBOOK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CHMBOOK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes (libgcc, libstdc++, winpthread) go into every
# program, so that the programs need only the DLLs that Windows ships.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine: see CHMBOOK_WINE in the top-level CMakeLists.txt.
