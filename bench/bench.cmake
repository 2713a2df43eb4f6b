# Benchmarks, run under Wine by scripts/bench.sh (not by the test command).
add_executable(catalogue_bench bench/catalogue_bench.cpp)
target_link_libraries(catalogue_bench PRIVATE quillmoor_win)
set_target_properties(catalogue_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Whole-process start-up against two minimal programs, run in turn by startup_bench.
# Stripped like the product, so that no start loads debugging information.
add_executable(startup_floor WIN32 bench/startup_floor.cpp)
target_link_options(startup_floor PRIVATE -s)
set_target_properties(startup_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_executable(startup_window_floor WIN32 bench/startup_window_floor.cpp)
target_link_libraries(startup_window_floor PRIVATE quillmoor_win)
target_link_options(startup_window_floor PRIVATE -s)
set_target_properties(startup_window_floor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_executable(startup_bench bench/startup_bench.cpp)
set_target_properties(startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(startup_bench startup_floor startup_window_floor quillmoor)

# A font file's trial in a child process, against a bare start of the same program.
add_executable(trial_bench bench/trial_bench.cpp)
target_link_libraries(trial_bench PRIVATE quillmoor_win)
set_target_properties(trial_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(trial_bench quillmoor)

# Previewing a font file, and typing into the path box, against raw floors.
add_executable(preview_bench bench/preview_bench.cpp)
target_link_libraries(preview_bench PRIVATE quillmoor_win)
target_include_directories(preview_bench PRIVATE tests/wine)
set_target_properties(preview_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(preview_bench quillmoor)

# A family of eight files installed in one press, against eight presses, with and without
# a window on the desktop that every broadcast waits for.
add_executable(install_bench bench/install_bench.cpp)
target_link_libraries(install_bench PRIVATE quillmoor_win)
target_include_directories(install_bench PRIVATE tests/wine)
set_target_properties(install_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(install_bench quillmoor)

# The font-file judge on crafted inputs, against reading the same files.
add_executable(judge_bench bench/judge_bench.cpp)
target_link_libraries(judge_bench PRIVATE quillmoor_win)
target_include_directories(judge_bench PRIVATE tests)
set_target_properties(judge_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The font-information window of an installed CJK family, against reading its cmap and
# showing a message box of the same text.
add_executable(info_bench bench/info_bench.cpp)
target_link_libraries(info_bench PRIVATE quillmoor_win)
target_include_directories(info_bench PRIVATE tests/wine)
set_target_properties(info_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
