# On a display (under Wine: xvfb-run), beside VestroFile.exe: the Win32 window in process, which
# also reads VestroFile.exe's manifest, and the real VestroFile.exe driven from outside, which the
# driver copies into each test's folder.
function(vestro_add_display_suite target label)
    add_executable(${target} ${ARGN} support/test_main.cpp support/temporary_folder.cpp)
    target_include_directories(${target} PRIVATE
        ${CMAKE_CURRENT_SOURCE_DIR} ${VESTRO_RESOURCE_INCLUDES})
    target_link_libraries(${target} PRIVATE GTest::gtest)
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:VestroFile>)
    add_dependencies(${target} VestroFile)
    vestro_add_suite(${target} ${label})
endfunction()

vestro_add_display_suite(vestro_win32_window_tests win32 win32/window_test.cpp win32/window_tests.rc)
target_link_libraries(vestro_win32_window_tests PRIVATE vestro_win32_window comdlg32 shlwapi)
set_source_files_properties(win32/window_tests.rc PROPERTIES
    OBJECT_DEPENDS "${VESTRO_RESOURCE_INPUTS}")
vestro_add_display_suite(vestro_end_to_end_tests end_to_end end_to_end/end_to_end_test.cpp)
target_link_libraries(vestro_end_to_end_tests PRIVATE vestro_file_system user32)
# The control ids come from the window's own layout table.
target_include_directories(vestro_end_to_end_tests PRIVATE
    $<TARGET_PROPERTY:vestro_main_window,INTERFACE_INCLUDE_DIRECTORIES>)
# Planted by the driver beside each copy of VestroFile.exe under the names of libraries it loads.
add_library(vestro_planted_library SHARED end_to_end/planted_library.cpp)
set_target_properties(vestro_planted_library PROPERTIES PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:VestroFile>)
add_dependencies(vestro_end_to_end_tests vestro_planted_library)
# The built exe imports only libraries Windows takes from System32 and asks for System32 alone.
find_package(Python3 3.8 REQUIRED COMPONENTS Interpreter)
add_test(NAME vestro_executable_loading COMMAND ${Python3_EXECUTABLE}
    ${PROJECT_SOURCE_DIR}/cmake/pe_loading.py check $<TARGET_FILE:VestroFile>)
set_tests_properties(vestro_executable_loading PROPERTIES LABELS win32)
