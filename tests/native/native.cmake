# Windows-free rules, built with the host compiler under AddressSanitizer and UBSan.
find_package(GTest REQUIRED)
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(quillmoor_core PRIVATE ${SANITIZE})

add_executable(native_tests
    tests/native/base_test.cpp
    tests/native/catalogue_test.cpp
    tests/native/preview_test.cpp
    tests/native/controls_test.cpp
    tests/native/docking_test.cpp
    tests/native/fontfiles_test.cpp
    tests/native/fontdata/font_file_test.cpp
    tests/native/fontdata/directory_test.cpp
    tests/native/fontdata/metrics_test.cpp
    tests/native/fontdata/cmap_test.cpp
    tests/native/fontdata/glyf_test.cpp
    tests/native/fontdata/cff_test.cpp
    tests/native/fontdata/name_test.cpp
    tests/native/fontdata/bitmap_tables_test.cpp
    tests/native/fontdata/font_resource_test.cpp
    tests/native/fontdata/digest_test.cpp
    tests/native/fontinfo_test.cpp
)
target_compile_options(native_tests PRIVATE ${SANITIZE})
target_link_options(native_tests PRIVATE ${SANITIZE})
target_link_libraries(native_tests PRIVATE quillmoor_core GTest::gtest GTest::gtest_main)
target_include_directories(native_tests PRIVATE tests)
# The font fixtures: sound files, and damaged ones with the reason the judge must give.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/fixtures/damaged.txt
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-font-fixtures.py ${CMAKE_BINARY_DIR}/fixtures
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-font-fixtures.py ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py
    COMMENT "Making font fixtures")
add_custom_target(native_fixtures ALL DEPENDS ${CMAKE_BINARY_DIR}/fixtures/damaged.txt)
add_dependencies(native_tests native_fixtures)
target_compile_definitions(native_tests PRIVATE QUILLMOOR_FIXTURES="${CMAKE_BINARY_DIR}/fixtures"
    # Wine's own fonts, unpacked by the set-up beside the build folders.
    QUILLMOOR_WINE_FONTS="${CMAKE_BINARY_DIR}/../wine-fonts/usr/share/wine/fonts"
    # A colour emoji font of bitmaps alone, unpacked likewise.
    QUILLMOOR_EMOJI_FONT="${CMAKE_BINARY_DIR}/../emoji-font/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf")
add_test(NAME native_tests COMMAND native_tests)
set_tests_properties(native_tests PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")

# Every include between the folders of src/ points down the layers.
add_test(NAME layer_check COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh ${CMAKE_SOURCE_DIR}/src)
