# The real VestroFile.exe driven from outside, on a display (under Wine: xvfb-run). The driver
# lies beside VestroFile.exe and copies it into each test's folder.
add_executable(vestro_end_to_end_tests
    ${CMAKE_CURRENT_LIST_DIR}/end_to_end_test.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/test_main.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/support/temporary_folder.cpp)
# The control ids come from the window's own layout table.
target_include_directories(vestro_end_to_end_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
    $<TARGET_PROPERTY:vestro_main_window,INTERFACE_INCLUDE_DIRECTORIES>)
target_link_libraries(vestro_end_to_end_tests PRIVATE vestro_file_system user32 GTest::gtest)
set_target_properties(vestro_end_to_end_tests PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:VestroFile>)
add_dependencies(vestro_end_to_end_tests VestroFile)
vestro_add_suite(vestro_end_to_end_tests end_to_end)
