# The Win32 window in process, on a display (under Wine: xvfb-run), beside VestroFile.exe, whose
# manifest it reads.
add_executable(vestro_win32_window_tests
    ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_tests.rc
    ${CMAKE_CURRENT_SOURCE_DIR}/support/test_main.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/temporary_folder.cpp)
target_include_directories(vestro_win32_window_tests PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR} ${VESTRO_RESOURCE_INCLUDES})
target_link_libraries(vestro_win32_window_tests PRIVATE vestro_win32_window comdlg32 GTest::gtest)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/window_tests.rc PROPERTIES
    OBJECT_DEPENDS "${VESTRO_RESOURCE_INPUTS}")
set_target_properties(vestro_win32_window_tests PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:VestroFile>)
add_dependencies(vestro_win32_window_tests VestroFile)
vestro_add_suite(vestro_win32_window_tests win32)
