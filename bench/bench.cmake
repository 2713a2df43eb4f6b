# Benchmarks, run under Wine by scripts/bench.sh (not by the test command).
add_executable(catalogue_bench bench/catalogue_bench.cpp)
target_link_libraries(catalogue_bench PRIVATE quillmoor_win)
set_target_properties(catalogue_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
