# libFuzzer targets for the text rules (clang). The test command runs each briefly;
# run one longer by hand, for example:
#   build/fuzz/fuzz_text_to_number -max_total_time=600 build/fuzz/corpus-text
set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
enable_testing()
foreach(target text_to_number reduce_font_names font_name install_paths)
    add_executable(fuzz_${target} fuzz/${target}.cpp ${PURE_SOURCES})
    target_include_directories(fuzz_${target} PRIVATE src)
    target_compile_options(fuzz_${target} PRIVATE ${FUZZ_FLAGS} -g -O1)
    target_link_options(fuzz_${target} PRIVATE ${FUZZ_FLAGS})
    if(NOT target STREQUAL "font_name")
        add_test(NAME fuzz_${target} COMMAND fuzz_${target} -max_total_time=20 -timeout=2 -rss_limit_mb=1024)
    endif()
endforeach()

# The font reader starts from real files: TrueType, OpenType with CFF outlines, a two-member
# collection and the damaged fixtures (corpus-font/; libFuzzer adds what it finds there).
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/corpus-font/quillmoor-pair.ttc
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-font-fixtures.py ${CMAKE_BINARY_DIR}/corpus-font
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py ${CMAKE_BINARY_DIR}/corpus-font 1
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-font-fixtures.py ${CMAKE_SOURCE_DIR}/scripts/make-fonts.py
    COMMENT "Making the font corpus")
add_custom_target(font_corpus ALL DEPENDS ${CMAKE_BINARY_DIR}/corpus-font/quillmoor-pair.ttc)
add_test(NAME fuzz_font_name COMMAND fuzz_font_name -max_total_time=20 -timeout=2 -rss_limit_mb=1024
                                     ${CMAKE_BINARY_DIR}/corpus-font)
