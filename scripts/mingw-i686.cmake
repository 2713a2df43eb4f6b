# The product: 32-bit Windows.
set(QUILLMOOR_MINGW i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
