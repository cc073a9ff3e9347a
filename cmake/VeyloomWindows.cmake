# Windows builds with MinGW-w64, cross-compiled from Linux with cmake/mingw-w64-x86_64.cmake.
enable_language(RC)

# MinGW's stack protector and checked functions live in libssp, linked in statically so the
# program needs no further DLL for them.
if(MINGW)
    string(APPEND CMAKE_CXX_STANDARD_LIBRARIES " -Wl,-Bstatic -lssp -Wl,-Bdynamic")
endif()

# Built on Linux, every program and test runs under Wine, in a prefix of this build's own.
# Wine finds Qt's DLLs and the compiler's run-time DLLs in their own folders.
if(CMAKE_CROSSCOMPILING)
    set(dll_folders ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
    foreach(runtime libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
            OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        get_filename_component(runtime_folder ${runtime_path} DIRECTORY)
        list(APPEND dll_folders ${runtime_folder})
    endforeach()
    list(JOIN dll_folders ":" dll_folders)
    # A launcher in the build folder, for the tests and for running a program here by hand.
    set(launcher ${PROJECT_BINARY_DIR}/wine-run)
    file(WRITE ${launcher} "#!/bin/sh\nexec '${PROJECT_SOURCE_DIR}/tests/windows/wine-run.sh' \
'${PROJECT_BINARY_DIR}/wine' '${dll_folders}' \"$@\"\n")
    file(CHMOD ${launcher} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
        GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${launcher})
endif()
