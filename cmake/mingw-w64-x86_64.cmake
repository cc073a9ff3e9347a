# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, for std::thread and
# the C++ runtime Qt expects).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VEYLOOM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEYLOOM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEYLOOM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VEYLOOM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VEYLOOM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No link time in the headers of the programs and libraries: one source gives the same bytes.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
endforeach()
