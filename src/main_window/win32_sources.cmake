# The Win32 front end: the window, its resources and VestroFile.exe. Included on Windows only.
enable_language(RC)

# The version is defined once, in project(VERSION); the version record and the manifest take it
# from here. The text form is the major version, a dot and the minor version as two digits.
if(PROJECT_VERSION_MINOR LESS 10)
    set(VESTRO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(VESTRO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(VESTRO_GENERATED_RESOURCES ${CMAKE_CURRENT_BINARY_DIR}/generated)
configure_file(resources/version.h.in ${VESTRO_GENERATED_RESOURCES}/vestro_version.h @ONLY)
configure_file(resources/VestroFile.manifest.in ${VESTRO_GENERATED_RESOURCES}/VestroFile.manifest
               @ONLY)

# The window without WinMain, so tests can create it.
add_library(vestro_win32_window STATIC
    win32_form.cpp
    win32_main_window.cpp
    win32_taskbar_progress.cpp
)
# ole32 and uuid for the taskbar button's progress: a system DLL and a static library.
target_link_libraries(vestro_win32_window PUBLIC vestro_main_window user32 gdi32 ole32 uuid)
target_include_directories(vestro_win32_window PRIVATE resources)

# Where the resource scripts find the icon, the manifest and the generated version header.
set(VESTRO_RESOURCE_INCLUDES
    ${CMAKE_CURRENT_SOURCE_DIR}/resources
    ${VESTRO_GENERATED_RESOURCES}
    CACHE INTERNAL "Include folders of VestroFile.rc")
set(VESTRO_RESOURCE_INPUTS
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/VestroFile.ico
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/resource_ids.h
    ${VESTRO_GENERATED_RESOURCES}/VestroFile.manifest
    ${VESTRO_GENERATED_RESOURCES}/vestro_version.h
    CACHE INTERNAL "Files VestroFile.rc reads")
set_source_files_properties(resources/VestroFile.rc PROPERTIES
    OBJECT_DEPENDS "${VESTRO_RESOURCE_INPUTS}")

add_executable(VestroFile WIN32 win32_main.cpp resources/VestroFile.rc)
target_include_directories(VestroFile PRIVATE ${VESTRO_RESOURCE_INCLUDES})
target_link_libraries(VestroFile PRIVATE vestro_win32_window comctl32)
if(MSVC)
    # The manifest comes from VestroFile.rc; the linker must not add a second one. Libraries
    # that the system's own import at start come from System32 alone.
    target_link_options(VestroFile PRIVATE /MANIFEST:NO /DEPENDENTLOADFLAG:0x800)
elseif(MINGW)
    # MinGW's runtime has no load configuration: the program brings one that says the same, and
    # since this linker does not point the image at it, a step after linking does, from the map.
    find_package(Python3 3.8 REQUIRED COMPONENTS Interpreter)
    target_sources(VestroFile PRIVATE win32_load_configuration.cpp)
    set(link_map ${CMAKE_CURRENT_BINARY_DIR}/VestroFile.map)
    target_link_options(VestroFile PRIVATE -Wl,-Map=${link_map})
    add_custom_command(TARGET VestroFile POST_BUILD
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/pe_loading.py
                set-load-configuration $<TARGET_FILE:VestroFile> ${link_map}
        VERBATIM)
    # No symbols or debug info outside Debug builds: the MinGW runtime's own would come along,
    # with the folders it was built in.
    target_link_options(VestroFile PRIVATE $<$<NOT:$<CONFIG:Debug>>:-s>)
endif()

# The release archive: cmake --build --preset windows --target package
include(${PROJECT_SOURCE_DIR}/cmake/release/package.cmake)
