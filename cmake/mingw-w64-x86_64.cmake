# Cross build for 64-bit Windows with Debian's mingw-w64 (POSIX thread model: the win32 one
# has no std::thread in GCC 12). Libraries built by scripts/windows-toolchain.sh are found
# through DECOR_WINDOWS_PREFIXES (a list, usually passed by the windows presets).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(DECOR_WINDOWS_PREFIXES "$ENV{DECOR_WINDOWS_PREFIXES}" CACHE STRING
    "Folders holding the cross-built Windows libraries")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DECOR_WINDOWS_PREFIXES)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${DECOR_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see only the Windows .pc files, never the Linux ones.
set(ENV{PKG_CONFIG_LIBDIR} "")
foreach(prefix IN ITEMS /usr/x86_64-w64-mingw32 ${DECOR_WINDOWS_PREFIXES})
  if(EXISTS "${prefix}/lib/pkgconfig")
    if("$ENV{PKG_CONFIG_LIBDIR}" STREQUAL "")
      set(ENV{PKG_CONFIG_LIBDIR} "${prefix}/lib/pkgconfig")
    else()
      set(ENV{PKG_CONFIG_LIBDIR} "$ENV{PKG_CONFIG_LIBDIR}:${prefix}/lib/pkgconfig")
    endif()
  endif()
endforeach()
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Test programs run under Wine when ctest runs them.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
