# Adds up the result files the end-to-end scenarios wrote and prints the reliability line:
#   cmake -DRESULTS=<folder> -DREPORT=<file> [-DUNIT_TESTS=<vestro_tests> -DEMULATOR=<runner>]
#         -P report_reliability.cmake
# With UNIT_TESTS, it also runs the unit suite's fault-injection test and counts its points.
# Fails when no scenario ran or when any left data lost or mixed.

file(GLOB result_files "${RESULTS}/*.txt")
set(scenarios 0)
set(passed 0)
set(bad_inputs 0)
set(lost_or_mixed 0)
foreach(result_file IN LISTS result_files)
    file(STRINGS "${result_file}" lines)
    math(EXPR scenarios "${scenarios} + 1")
    foreach(line IN LISTS lines)
        if(line MATCHES "^passed=([0-9]+)$")
            math(EXPR passed "${passed} + ${CMAKE_MATCH_1}")
        elseif(line MATCHES "^bad_inputs=([0-9]+)$")
            math(EXPR bad_inputs "${bad_inputs} + ${CMAKE_MATCH_1}")
        elseif(line MATCHES "^lost_or_mixed_data=([0-9]+)$")
            math(EXPR lost_or_mixed "${lost_or_mixed} + ${CMAKE_MATCH_1}")
        endif()
    endforeach()
endforeach()

set(fault_injection_points 0)
if(UNIT_TESTS)
    # A file, not a pipe: Wine's background services may keep a pipe open after the test ends.
    set(unit_log "${RESULTS}/../fault-injection.log")
    execute_process(
        COMMAND ${EMULATOR} ${UNIT_TESTS}
                --gtest_filter=StagedReplacement.AFailureAtAnyStepLeavesTheOldOrTheNewTreeWhole
        OUTPUT_FILE "${unit_log}" ERROR_FILE "${unit_log}.errors" RESULT_VARIABLE unit_result
        TIMEOUT 120)
    file(READ "${unit_log}" unit_output)
    if(NOT unit_result EQUAL 0 OR NOT unit_output MATCHES "fault-injection points: ([0-9]+)")
        message(FATAL_ERROR "The fault-injection test failed or printed no count; see ${unit_log}")
    endif()
    set(fault_injection_points ${CMAKE_MATCH_1})
endif()

set(line "reliability: scenarios ${scenarios} (passed ${passed}), fault-injection points ${fault_injection_points}, bad inputs ${bad_inputs}, lost or mixed data ${lost_or_mixed}")
message("${line}")
if(REPORT)
    file(WRITE "${REPORT}" "${line}\n")
endif()
if(scenarios EQUAL 0)
    message(FATAL_ERROR "No end-to-end scenario wrote a result.")
endif()
if(NOT lost_or_mixed EQUAL 0)
    message(FATAL_ERROR "End-to-end scenarios left lost or mixed data.")
endif()
