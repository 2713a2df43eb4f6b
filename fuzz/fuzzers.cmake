# libFuzzer targets for the text rules (clang). The test command runs each briefly;
# run one longer by hand, for example:
#   build/fuzz/fuzz_text_to_number -max_total_time=600 build/fuzz/corpus-text
set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
enable_testing()
foreach(target text_to_number reduce_font_names font_name)
    add_executable(fuzz_${target} fuzz/${target}.cpp ${PURE_SOURCES})
    target_include_directories(fuzz_${target} PRIVATE src)
    target_compile_options(fuzz_${target} PRIVATE ${FUZZ_FLAGS} -g -O1)
    target_link_options(fuzz_${target} PRIVATE ${FUZZ_FLAGS})
    add_test(NAME fuzz_${target} COMMAND fuzz_${target} -max_total_time=20 -rss_limit_mb=1024)
endforeach()
