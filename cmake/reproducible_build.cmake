# One commit gives the same VestroFile.exe, byte for byte, whatever folder it is built in and
# whenever: anyone can rebuild a release and compare checksums. For the MinGW (GNU) toolchain;
# the MSVC build is not made reproducible here.
if(MINGW)
    # Keep this checkout's and this build tree's folder names out of the objects (__FILE__,
    # debug info). GCC applies the last matching map, and the build tree may lie in the checkout.
    add_compile_options(
        -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
        -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
    # Otherwise ld writes the time of the link into the PE header.
    add_link_options(LINKER:--no-insert-timestamp)
    # Archive members without dates, owners or modes. Debian's ar does this by default; other
    # builds of binutils may not.
    set(CMAKE_CXX_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_CXX_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
    set(CMAKE_CXX_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
endif()
