# The calculation core as WebAssembly: clang for wasm32 without any C or
# C++ library (web/freestanding supplies the few headers and functions the
# core needs) and wasm-ld.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET wasm32)
set(CMAKE_CXX_COMPILER_TARGET wasm32)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# No file paths or build-dependent data in the module, so that it rebuilds
# byte for byte.
set(CMAKE_C_FLAGS_INIT "-ffile-prefix-map=${CMAKE_CURRENT_LIST_DIR}/..=.")
set(CMAKE_CXX_FLAGS_INIT "-ffile-prefix-map=${CMAKE_CURRENT_LIST_DIR}/..=.")
