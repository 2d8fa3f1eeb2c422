# End-to-end scenarios: the real VestroFile.exe, worked from outside through its windows by a
# driver program, each scenario in a fresh layout under C:\vestro-e2e. Under Wine they need an X
# display (run CTest under xvfb-run). Included on Windows builds only; the driver is never shipped.

set(VESTRO_END_TO_END_DIR ${CMAKE_CURRENT_LIST_DIR})
add_executable(vestro_end_to_end_driver
    ${VESTRO_END_TO_END_DIR}/driver_main.cpp
    ${VESTRO_END_TO_END_DIR}/bounded_wait.cpp
    ${VESTRO_END_TO_END_DIR}/client_install.cpp
    ${VESTRO_END_TO_END_DIR}/copy_flow.cpp
    ${VESTRO_END_TO_END_DIR}/data_outcome.cpp
    ${VESTRO_END_TO_END_DIR}/demo_content.cpp
    ${VESTRO_END_TO_END_DIR}/deployment_checks.cpp
    ${VESTRO_END_TO_END_DIR}/deployment_layout.cpp
    ${VESTRO_END_TO_END_DIR}/file_operations.cpp
    ${VESTRO_END_TO_END_DIR}/file_tree.cpp
    ${VESTRO_END_TO_END_DIR}/held_open_item.cpp
    ${VESTRO_END_TO_END_DIR}/host_path.cpp
    ${VESTRO_END_TO_END_DIR}/message_box.cpp
    ${VESTRO_END_TO_END_DIR}/open_file_dialog.cpp
    ${VESTRO_END_TO_END_DIR}/process_windows.cpp
    ${VESTRO_END_TO_END_DIR}/progress_log.cpp
    ${VESTRO_END_TO_END_DIR}/program_files_guard.cpp
    ${VESTRO_END_TO_END_DIR}/rename_probe.cpp
    ${VESTRO_END_TO_END_DIR}/running_program.cpp
    ${VESTRO_END_TO_END_DIR}/scenario_context.cpp
    ${VESTRO_END_TO_END_DIR}/scenario_failure.cpp
    ${VESTRO_END_TO_END_DIR}/scenario_registry.cpp
    ${VESTRO_END_TO_END_DIR}/scenario_result.cpp
    ${VESTRO_END_TO_END_DIR}/screen_capture.cpp
    ${VESTRO_END_TO_END_DIR}/standard_icon.cpp
    ${VESTRO_END_TO_END_DIR}/system_error_text.cpp
    ${VESTRO_END_TO_END_DIR}/utf8_text.cpp
    ${VESTRO_END_TO_END_DIR}/vestro_window.cpp
    ${VESTRO_END_TO_END_DIR}/window_text.cpp
    ${VESTRO_END_TO_END_DIR}/detection_scenarios.cpp
    ${VESTRO_END_TO_END_DIR}/typed_path_scenarios.cpp
    ${VESTRO_END_TO_END_DIR}/copy_failure_scenarios.cpp
    ${VESTRO_END_TO_END_DIR}/data_shape_scenarios.cpp
    ${VESTRO_END_TO_END_DIR}/closing_scenarios.cpp
    ${VESTRO_END_TO_END_DIR}/browse_scenarios.cpp
    ${VESTRO_END_TO_END_DIR}/link_scenario.cpp
    # Links to folders as the unit suite makes them: under Wine, Unix links made by /bin/ln.
    ${CMAKE_CURRENT_SOURCE_DIR}/support/win32_folder_link.cpp
)
# The window's control ids come from its layout header, which needs nothing but <windows.h>.
target_include_directories(vestro_end_to_end_driver PRIVATE
    ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vestro_end_to_end_driver PRIVATE user32 gdi32)
add_dependencies(vestro_end_to_end_driver VestroFile)

set(VESTRO_END_TO_END_OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/end_to_end)

# Scenarios that install the client under C:\Program Files, which every start of the program
# probes: they run one at a time, and never beside each other.
set(VESTRO_END_TO_END_PROGRAM_FILES_SCENARIOS
    typical-run both-candidates candidate-2-only no-client)
set(VESTRO_END_TO_END_OTHER_SCENARIOS
    path-check other-file-name missing-common no-folder-part nested-folders
    missing-data held-open-old-folder held-open-old-file held-open-data-file
    read-only-old-data non-ascii-names long-paths empty-data linked-folder-in-old-data
    cancel close-box close-during-copy
    browse-cancel browse-pick browse-missing-file)

add_test(NAME end_to_end.start
         COMMAND ${CMAKE_COMMAND} -E rm -rf ${VESTRO_END_TO_END_OUTPUT}/results)
set_tests_properties(end_to_end.start PROPERTIES
    LABELS end_to_end FIXTURES_SETUP vestro_end_to_end)

function(vestro_add_end_to_end_scenario name)
    set(driver_arguments ${name} $<TARGET_FILE:VestroFile> ${VESTRO_END_TO_END_OUTPUT} ${ARGN})
    if(CMAKE_CROSSCOMPILING)
        # Under Wine: a wrapper checks for a display and turns a failure's screenshot into PNG.
        add_test(NAME end_to_end.${name}
                 COMMAND bash ${VESTRO_END_TO_END_DIR}/run_scenario.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                         $<TARGET_FILE:vestro_end_to_end_driver> ${driver_arguments})
    else()
        add_test(NAME end_to_end.${name}
                 COMMAND vestro_end_to_end_driver ${driver_arguments})
    endif()
    set_tests_properties(end_to_end.${name} PROPERTIES
        LABELS end_to_end TIMEOUT 180 FIXTURES_REQUIRED vestro_end_to_end)
endfunction()

foreach(name IN LISTS VESTRO_END_TO_END_PROGRAM_FILES_SCENARIOS)
    vestro_add_end_to_end_scenario(${name} --program-files)
    set_tests_properties(end_to_end.${name} PROPERTIES RESOURCE_LOCK vestro_program_files)
endforeach()
foreach(name IN LISTS VESTRO_END_TO_END_OTHER_SCENARIOS)
    vestro_add_end_to_end_scenario(${name})
endforeach()

# The scenarios listed here are exactly the driver's: none is left out of the run.
set(expected_scenarios ${VESTRO_END_TO_END_OTHER_SCENARIOS})
foreach(name IN LISTS VESTRO_END_TO_END_PROGRAM_FILES_SCENARIOS)
    list(APPEND expected_scenarios ${name}:program-files)
endforeach()
if(CMAKE_CROSSCOMPILING)
    add_test(NAME end_to_end.scenario-list
             COMMAND bash ${VESTRO_END_TO_END_DIR}/wine_program.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                     ${VESTRO_END_TO_END_OUTPUT}/logs/scenario-list.log
                     $<TARGET_FILE:vestro_end_to_end_driver> --expect ${expected_scenarios})
else()
    add_test(NAME end_to_end.scenario-list
             COMMAND vestro_end_to_end_driver --expect ${expected_scenarios})
endif()
set_tests_properties(end_to_end.scenario-list PROPERTIES LABELS end_to_end TIMEOUT 60)

# Adds up what the scenarios wrote and prints the suite's reliability line.
add_test(NAME end_to_end.reliability
         COMMAND ${CMAKE_COMMAND} -DRESULTS=${VESTRO_END_TO_END_OUTPUT}/results
                 -DREPORT=${VESTRO_END_TO_END_OUTPUT}/reliability.txt
                 -DUNIT_TESTS=$<TARGET_FILE:vestro_tests>
                 "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
                 -P ${VESTRO_END_TO_END_DIR}/report_reliability.cmake)
set_tests_properties(end_to_end.reliability PROPERTIES
    LABELS end_to_end FIXTURES_CLEANUP vestro_end_to_end)
