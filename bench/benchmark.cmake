# The deployment benchmark: one program that times our replacement and the system's own tools,
# driven by bench/run.
add_executable(vestro_benchmark
    main.cpp
    benchmark_commands.cpp
    data_set_generation.cpp
    tree_comparison.cpp
    timed_runs.cpp
    run_record.cpp
    results_table.cpp
    utf8_text.cpp
    bare_copy_loop.cpp
    copy_without_reuse.cpp
)
if(WIN32)
    target_sources(vestro_benchmark PRIVATE win32_peak_memory.cpp win32_baseline_copy.cpp
        win32_single_file_copy.cpp win32_written_bytes.cpp)
else()
    target_sources(vestro_benchmark PRIVATE posix_peak_memory.cpp posix_baseline_copy.cpp
        posix_single_file_copy.cpp posix_written_bytes.cpp)
endif()
target_link_libraries(vestro_benchmark PRIVATE vestro_deployment)
