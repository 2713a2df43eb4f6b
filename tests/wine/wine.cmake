# Tests against the real window, real controls and real GDI, run through Wine.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

add_library(wine_test_support STATIC tests/wine/support.cpp)
target_include_directories(wine_test_support PUBLIC tests/wine)
target_link_libraries(wine_test_support PUBLIC quillmoor_win gtest)

# A stand-in for the program that loads a broken layout or reads the catalogue out of
# range, so that the fatal paths can be watched from outside.
add_executable(fatal_probe WIN32 tests/wine/fatal_probe.cpp)
target_link_libraries(fatal_probe PRIVATE quillmoor_win)
set_target_properties(fatal_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Used by the run command to wait for the window and to close the program.
add_executable(window_helper tests/wine/window_helper.cpp)
target_link_libraries(window_helper PRIVATE wine_test_support)
set_target_properties(window_helper PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

function(quillmoor_wine_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE wine_test_support gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX}" TIMEOUT 600
                                            RESOURCE_LOCK display)
endfunction()

quillmoor_wine_test(window_tests tests/wine/layout_test.cpp tests/wine/events_test.cpp tests/wine/lifecycle_test.cpp)
add_dependencies(window_tests quillmoor fatal_probe)

# Fonts with families of their own for the tests: "Quillmoor Test 1" ... in fonts/.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/fonts/qtest40.ttf
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py ${CMAKE_BINARY_DIR}/fonts 40
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py
    COMMENT "Making test fonts")
add_custom_target(test_fonts ALL DEPENDS ${CMAKE_BINARY_DIR}/fonts/qtest40.ttf)

quillmoor_wine_test(catalogue_tests tests/wine/catalogue_test.cpp)
quillmoor_wine_test(preview_tests tests/wine/preview_test.cpp)
add_dependencies(catalogue_tests test_fonts)
quillmoor_wine_test(behaviour_tests tests/wine/behaviour_test.cpp)
