# Tests of the Win32 front end: the real window, its resources and the open-file dialog. They
# need a display (under Wine: an X server, e.g. xvfb-run).
enable_language(RC)

add_executable(vestro_win32_window_tests
    win32/window_tests_main.cpp
    win32/window_tests.rc
    win32/dialog_answerer.cpp
    win32/window_fixture.cpp
    win32/window_layout_test.cpp
    win32/window_text_fit_test.cpp
    win32/window_events_test.cpp
    win32/window_close_test.cpp
    win32/window_answers_test.cpp
    win32/window_message_test.cpp
    win32/message_pump_test.cpp
    win32/win32_file_dialog_test.cpp
    win32/resources_test.cpp
    support/temporary_folder.cpp
)
target_include_directories(vestro_win32_window_tests PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/win32
    ${VESTRO_RESOURCE_INCLUDES})
target_link_libraries(vestro_win32_window_tests PRIVATE
    vestro_win32_window comctl32 comdlg32 version GTest::gtest)
set_source_files_properties(win32/window_tests.rc PROPERTIES
    OBJECT_DEPENDS "${VESTRO_RESOURCE_INPUTS};${CMAKE_CURRENT_SOURCE_DIR}/win32/window_tests.manifest")
# Beside VestroFile.exe, whose resources the tests read.
set_target_properties(vestro_win32_window_tests PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY $<TARGET_FILE_DIR:VestroFile>)
add_dependencies(vestro_win32_window_tests VestroFile)
if(MSVC)
    # The manifest comes from window_tests.rc.
    target_link_options(vestro_win32_window_tests PRIVATE /MANIFEST:NO)
endif()

add_test(NAME vestro_win32_window_tests COMMAND vestro_win32_window_tests)
set_tests_properties(vestro_win32_window_tests PROPERTIES LABELS win32 TIMEOUT 600 RUN_SERIAL TRUE)
