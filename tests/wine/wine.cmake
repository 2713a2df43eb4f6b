# Tests against the real window, real controls and real GDI, run through Wine.
set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

add_library(wine_test_support STATIC tests/wine/support.cpp)
target_include_directories(wine_test_support PUBLIC tests/wine)
target_link_libraries(wine_test_support PUBLIC quillmoor_win gtest version)

# A stand-in for the program that loads a broken layout or reads the catalogue out of
# range, so that the fatal paths can be watched from outside.
add_executable(fatal_probe WIN32 tests/wine/fatal_probe.cpp)
target_link_libraries(fatal_probe PRIVATE quillmoor_win)
set_target_properties(fatal_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Used by the run command to wait for the window and to close the program.
add_executable(window_helper tests/wine/window_helper.cpp)
target_link_libraries(window_helper PRIVATE wine_test_support)
set_target_properties(window_helper PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Every run starts from fresh prefixes: the shared one, and one of their own for tests
# that install fonts.
add_test(NAME prefix_shared COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fresh-prefix.sh ${WINE_TEST_PREFIX})
set_tests_properties(prefix_shared PROPERTIES FIXTURES_SETUP shared_prefix TIMEOUT 300)

function(quillmoor_wine_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE wine_test_support gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # Font files named in the path box are tried in a child: the product.
    add_dependencies(${name} quillmoor)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEPREFIX=${WINE_TEST_PREFIX}" TIMEOUT 600
                                            RESOURCE_LOCK display FIXTURES_REQUIRED shared_prefix)
endfunction()

quillmoor_wine_test(window_tests tests/wine/layout_test.cpp tests/wine/events_test.cpp tests/wine/lifecycle_test.cpp)
add_dependencies(window_tests quillmoor fatal_probe)

# Fonts with families of their own for the tests: "Quillmoor Test 1" ... in fonts/.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/fonts/qtest80.ttf
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py ${CMAKE_BINARY_DIR}/fonts 80
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py
    COMMENT "Making test fonts")
# An OpenType font with CFF outlines, a collection, and damaged files: fixtures/.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/fixtures/damaged-member.ttc
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-font-fixtures.py ${CMAKE_BINARY_DIR}/fixtures
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-font-fixtures.py ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py
    COMMENT "Making font fixtures")
add_custom_target(test_fonts ALL DEPENDS ${CMAKE_BINARY_DIR}/fonts/qtest80.ttf
                                         ${CMAKE_BINARY_DIR}/fixtures/damaged-member.ttc)

quillmoor_wine_test(catalogue_tests tests/wine/catalogue_test.cpp)
quillmoor_wine_test(preview_tests tests/wine/preview_test.cpp tests/wine/file_preview_test.cpp)
add_dependencies(preview_tests test_fonts quillmoor window_helper)
add_dependencies(catalogue_tests test_fonts)
quillmoor_wine_test(info_tests tests/wine/info_test.cpp)
add_dependencies(info_tests test_fonts)
quillmoor_wine_test(behaviour_tests tests/wine/behaviour_test.cpp)
quillmoor_wine_test(docking_tests tests/wine/docking_test.cpp)
quillmoor_wine_test(colour_tests tests/wine/colour_test.cpp)

# Stands in for the program as a font trial's child that faults, hangs or refuses.
add_executable(trial_stand_in tests/wine/trial_stand_in.cpp)
set_target_properties(trial_stand_in PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# Another program to drag from.
add_executable(drag_source tests/wine/drag_source.cpp)
target_include_directories(drag_source PRIVATE tests/wine)
target_link_libraries(drag_source PRIVATE ole32 shell32 uuid)
set_target_properties(drag_source PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

quillmoor_wine_test(dialog_tests tests/wine/dialog_test.cpp)
quillmoor_wine_test(drop_tests tests/wine/drop_test.cpp)
quillmoor_wine_test(forum_tests tests/wine/forum_test.cpp)
add_dependencies(dialog_tests test_fonts)
add_dependencies(drop_tests drag_source test_fonts)

# Installation changes the fonts folder and the registry: a prefix of its own, then a
# restart of that prefix's Wine, then a look in the new session.
set(INSTALL_PREFIX ${CMAKE_BINARY_DIR}/install-prefix)
add_executable(install_tests tests/wine/install_test.cpp tests/wine/install_many_test.cpp)
target_link_libraries(install_tests PRIVATE wine_test_support gtest_main)
set_target_properties(install_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(install_tests test_fonts window_helper quillmoor drag_source)
add_test(NAME prefix_install COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fresh-prefix.sh ${INSTALL_PREFIX})
add_test(NAME install_tests COMMAND install_tests --gtest_filter=Install.*)
add_test(NAME install_restart COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/restart-wine.sh ${INSTALL_PREFIX})
add_test(NAME install_after_restart COMMAND install_tests --gtest_filter=AfterRestart.*)
set_tests_properties(prefix_install PROPERTIES FIXTURES_SETUP install_prefix TIMEOUT 300)
set_tests_properties(install_tests PROPERTIES FIXTURES_REQUIRED install_prefix FIXTURES_SETUP installed
                                               ENVIRONMENT "WINEPREFIX=${INSTALL_PREFIX}" TIMEOUT 600
                                               RESOURCE_LOCK display)
set_tests_properties(install_restart PROPERTIES FIXTURES_REQUIRED installed FIXTURES_SETUP restarted
                                                DEPENDS install_tests)
set_tests_properties(install_after_restart PROPERTIES FIXTURES_REQUIRED "installed;restarted"
                                                      DEPENDS install_restart
                                                      ENVIRONMENT "WINEPREFIX=${INSTALL_PREFIX}" TIMEOUT 600
                                                      RESOURCE_LOCK display)

# Test programs that install, each in a prefix of its own.
function(quillmoor_install_test name source)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE wine_test_support gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    # Font files are tried in a child: the product.
    add_dependencies(${name} test_fonts quillmoor)
endfunction()

# Damaged fonts are refused, and the prefix still starts after a restart.
set(DAMAGED_PREFIX ${CMAKE_BINARY_DIR}/damaged-prefix)
quillmoor_install_test(damaged_tests tests/wine/damaged_test.cpp)
add_dependencies(damaged_tests window_helper trial_stand_in)
add_test(NAME prefix_damaged COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fresh-prefix.sh ${DAMAGED_PREFIX})
add_test(NAME damaged_tests COMMAND damaged_tests)
add_test(NAME damaged_restart COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-prefix-starts.sh ${DAMAGED_PREFIX}
                                      $<TARGET_FILE:window_helper>)
set_tests_properties(prefix_damaged PROPERTIES FIXTURES_SETUP damaged_prefix TIMEOUT 300)
set_tests_properties(damaged_tests PROPERTIES FIXTURES_REQUIRED damaged_prefix ENVIRONMENT "WINEPREFIX=${DAMAGED_PREFIX}"
                                              TIMEOUT 600 RESOURCE_LOCK display)
set_tests_properties(damaged_restart PROPERTIES FIXTURES_REQUIRED damaged_prefix DEPENDS damaged_tests TIMEOUT 120
                                                RESOURCE_LOCK display)

# Uninstalling: a prefix of its own.
set(UNINSTALL_PREFIX ${CMAKE_BINARY_DIR}/uninstall-prefix)
quillmoor_install_test(uninstall_tests tests/wine/uninstall_test.cpp)
add_dependencies(uninstall_tests window_helper)
add_test(NAME prefix_uninstall COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fresh-prefix.sh ${UNINSTALL_PREFIX})
add_test(NAME uninstall_tests COMMAND uninstall_tests --gtest_filter=-*WithoutARecycleBin*)
# A Recycle Bin that cannot take files: Wine's is the Unix user's trash, and a plain file
# where its folder would be made leaves it none.
file(WRITE ${CMAKE_BINARY_DIR}/no-recycle-bin "a plain file where a folder would be\n")
add_test(NAME uninstall_without_recycle_bin COMMAND uninstall_tests --gtest_filter=*WithoutARecycleBin*)
set_tests_properties(prefix_uninstall PROPERTIES FIXTURES_SETUP uninstall_prefix TIMEOUT 300)
set_tests_properties(uninstall_tests PROPERTIES FIXTURES_REQUIRED uninstall_prefix
                                                ENVIRONMENT "WINEPREFIX=${UNINSTALL_PREFIX}" TIMEOUT 600
                                                RESOURCE_LOCK display)
set_tests_properties(uninstall_without_recycle_bin PROPERTIES FIXTURES_REQUIRED uninstall_prefix
                     ENVIRONMENT "WINEPREFIX=${UNINSTALL_PREFIX};XDG_DATA_HOME=${CMAKE_BINARY_DIR}/no-recycle-bin/data"
                     DEPENDS uninstall_tests TIMEOUT 600 RESOURCE_LOCK display)

# A fonts folder that fills up during the copy.
set(FULL_DISK_PREFIX ${CMAKE_BINARY_DIR}/full-disk-prefix)
quillmoor_install_test(full_disk_tests tests/wine/full_disk_test.cpp)
add_test(NAME prefix_full_disk COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/full-disk-prefix.sh ${FULL_DISK_PREFIX})
add_test(NAME full_disk_tests COMMAND full_disk_tests)
add_test(NAME unmount_full_disk
         COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/full-disk-prefix.sh ${FULL_DISK_PREFIX} unmount)
set_tests_properties(prefix_full_disk PROPERTIES FIXTURES_SETUP full_disk TIMEOUT 300)
set_tests_properties(unmount_full_disk PROPERTIES FIXTURES_CLEANUP full_disk)
set_tests_properties(full_disk_tests PROPERTIES FIXTURES_REQUIRED full_disk ENVIRONMENT "WINEPREFIX=${FULL_DISK_PREFIX}"
                                                TIMEOUT 600 RESOURCE_LOCK display)

# Without the rights to write the system's fonts folder: an unprivileged Unix user.
quillmoor_install_test(user_install_tests tests/wine/user_install_test.cpp)
add_test(NAME user_install_tests
         COMMAND env QUILLMOOR_SYSTEM_FONT=${CMAKE_BINARY_DIR}/fixtures/uninstall-key.ttf
                 bash ${CMAKE_SOURCE_DIR}/scripts/run-as-user.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:user_install_tests>
                 --gtest_filter=PerUser.*)
# Nor the user's own fonts folder.
add_test(NAME no_rights_tests
         COMMAND env QUILLMOOR_DENY_USER_FONTS=1 bash ${CMAKE_SOURCE_DIR}/scripts/run-as-user.sh ${CMAKE_BINARY_DIR}
                 $<TARGET_FILE:user_install_tests> --gtest_filter=NoRights.*)
set_tests_properties(user_install_tests no_rights_tests PROPERTIES TIMEOUT 600 RESOURCE_LOCK display)

# The real program through a whole journey, in a prefix whose browser is a recorder.
set(JOURNEY_PREFIX ${CMAKE_BINARY_DIR}/journey-prefix)
quillmoor_install_test(journey_tests tests/wine/journey_test.cpp)
add_dependencies(journey_tests quillmoor drag_source)
add_test(NAME prefix_journey COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/journey-prefix.sh ${JOURNEY_PREFIX})
add_test(NAME journey_tests COMMAND journey_tests)
set_tests_properties(prefix_journey PROPERTIES FIXTURES_SETUP journey_prefix TIMEOUT 300)
set_tests_properties(journey_tests PROPERTIES FIXTURES_REQUIRED journey_prefix ENVIRONMENT "WINEPREFIX=${JOURNEY_PREFIX}"
                                              TIMEOUT 300 RESOURCE_LOCK display)

# The product's form, read from the file without running it: a check that runs on every
# machine, whichever builds it can execute (label "file").
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PRODUCT_BITS 64)
else()
    set(PRODUCT_BITS 32)
endif()
add_test(NAME product_form COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-product.sh $<TARGET_FILE:quillmoor> ${PRODUCT_BITS})
set_tests_properties(product_form PROPERTIES LABELS file)

# Each build in prefixes of its own kind. The 64-bit build runs under Wine's 64-bit loader:
# /usr/bin/wine picks the 32-bit one whenever wine32 is installed.
get_property(wine_tests DIRECTORY PROPERTY TESTS)
if(PRODUCT_BITS EQUAL 64)
    set_property(TEST ${wine_tests} APPEND PROPERTY ENVIRONMENT WINELOADER=/usr/lib/wine/wine64 WINEARCH=win64)
    set_property(TEST ${wine_tests} APPEND PROPERTY ENVIRONMENT_MODIFICATION
                 PATH=path_list_prepend:${CMAKE_SOURCE_DIR}/scripts/wine64)
else()
    set_property(TEST ${wine_tests} APPEND PROPERTY ENVIRONMENT WINEARCH=win32)
endif()
