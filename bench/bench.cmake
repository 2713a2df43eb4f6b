# Benchmarks, run under Wine by scripts/bench.sh (not by the test command).
add_executable(catalogue_bench bench/catalogue_bench.cpp)
target_link_libraries(catalogue_bench PRIVATE quillmoor_win)
set_target_properties(catalogue_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Whole-process start-up against a minimal program, run alternately by startup_bench.
add_executable(startup_floor WIN32 bench/startup_floor.cpp)
set_target_properties(startup_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_executable(startup_bench bench/startup_bench.cpp)
set_target_properties(startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(startup_bench startup_floor quillmoor)
