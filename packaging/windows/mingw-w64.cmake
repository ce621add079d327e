# CMake toolchain file for Windows x64 with Debian's MinGW-w64 cross
# compilers (the -posix variant: std::thread needs its thread model).
# VANTREL_WIN_DEPS (-D on the command line) names the folder of the
# cross-built libraries; the MinGW sysroot and the CMAKE_PREFIX_PATH
# folders (an installed Vantrel, say) are searched too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_AR x86_64-w64-mingw32-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix CACHE FILEPATH "")

set(VANTREL_WIN_DEPS "${VANTREL_WIN_DEPS}" CACHE PATH "Cross-built libraries for Windows")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VANTREL_WIN_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VANTREL_WIN_DEPS} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
