# Cross-compiling for Windows with MinGW-w64 (posix threads, as GoogleTest needs), for the
# processor the including toolchain file names in QUILLMOOR_MINGW (i686 or x86_64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUILLMOOR_MINGW})
set(CMAKE_C_COMPILER ${QUILLMOOR_MINGW}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLMOOR_MINGW}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLMOOR_MINGW}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUILLMOOR_MINGW}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test executables run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
