# The Windows program and its tests under Wine.
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Both builds, 32-bit and 64-bit, build without a warning; a value narrowed on its way
# between an integer and a pointer-sized type (WPARAM, LPARAM, LONG_PTR, size_t) is an
# error in either.
target_compile_options(quillmoor_core PUBLIC -Werror -Wconversion -Werror=int-to-pointer-cast)

add_library(quillmoor_win STATIC ${WIN_SOURCES})
target_include_directories(quillmoor_win PUBLIC res)
target_link_libraries(quillmoor_win PUBLIC quillmoor_core comctl32 comdlg32 ole32 oleaut32 uuid shell32 shlwapi
                                           gdi32 user32 advapi32)

# The manifest names the processor the build is for: Windows refuses to start a program
# whose manifest names another.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MANIFEST_ARCH amd64)
else()
    set(MANIFEST_ARCH x86)
endif()
configure_file(res/app.manifest.in ${CMAKE_BINARY_DIR}/res/app.manifest @ONLY)

add_executable(quillmoor WIN32 src/app/main.cpp res/app.rc)
# windres reports no dependencies: the resources are made again when what they hold changes.
set_source_files_properties(res/app.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/res/app.manifest;${CMAKE_SOURCE_DIR}/res/app.ico;${CMAKE_SOURCE_DIR}/res/resource.h")
target_include_directories(quillmoor PRIVATE ${CMAKE_BINARY_DIR}/res)
target_link_libraries(quillmoor PRIVATE quillmoor_win)
set_target_properties(quillmoor PROPERTIES OUTPUT_NAME quillmoor RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The product carries no debugging information: it would be 4 MB of the file's 4.6 MB, and
# the loader reads all of it into memory at every start. The tests keep theirs.
target_link_options(quillmoor PRIVATE -s)

# GoogleTest from Debian's source package, cross-built.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(tests/wine/wine.cmake)
include(bench/bench.cmake)
