# Cross-compiling the 32-bit Windows program with Clang against the
# MinGW-w64 headers and libraries, LLVM's resource compiler (which follows
# Microsoft's rc) and LLVM's linker: a second compiler, resource compiler
# and linker for the same target as mingw-i686.cmake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
set(gcc_dir /usr/lib/gcc/${triple}/12-posix)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET i686-w64-windows-gnu)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-windows-gnu)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Clang does not find Debian's MinGW GCC (its folder is named "12-posix"),
# so its C++ headers and libraries are named here. SSE2 arithmetic with no
# contraction, as for GCC.
set(flags "--sysroot=/usr/${triple} -msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT
    "${flags} -isystem ${gcc_dir}/include/c++ -isystem ${gcc_dir}/include/c++/${triple} -isystem ${gcc_dir}/include/c++/backward")
# winpthreads: the POSIX thread model's C++ library needs it (for GoogleTest);
# lld takes archives in any order, and the program itself draws nothing
# from it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -static -L${gcc_dir} -lpthread")

# CMake runs the resource script through Clang's preprocessor, which needs
# the MinGW headers for <winresrc.h>, then llvm-rc; lld links the .res
# file it writes as it is.
set(CMAKE_RC_FLAGS_INIT "-I/usr/${triple}/include")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run --test)
