# The 64-bit build of the same sources, for machines that cannot execute 32-bit code.
set(QUILLMOOR_MINGW x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
