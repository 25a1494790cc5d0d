# Cross-compiling the 64-bit Windows build with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# x86-64 always uses SSE2 for double arithmetic.
