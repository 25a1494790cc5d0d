# Settings every target of the project shares: warnings as errors, and
# floating point exactly as written (no contraction into fused
# multiply-add; SSE2 rather than x87 on 32-bit x86, set by the toolchains
# for GCC and Clang and here for Microsoft's compiler).
if(MSVC)
  add_compile_options(/fp:strict)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_compile_options(/arch:SSE2)
  endif()
  # The static C runtime, as the MinGW builds link theirs.
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
else()
  add_compile_options(-ffp-contract=off)
endif()

if(NOTCHWELL_SANITIZE AND MSVC)
  message(FATAL_ERROR "NOTCHWELL_SANITIZE is for GCC and Clang")
elseif(NOTCHWELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings are errors in all of the project's own code (not in the
# third-party test framework it builds).
function(notchwell_strict target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  endif()
endfunction()

# The program itself uses neither exceptions nor RTTI.
function(notchwell_program_options target)
  notchwell_strict(${target})
  if(MSVC)
    target_compile_options(${target} PRIVATE /GR- /EHs-c-)
    target_compile_definitions(${target} PRIVATE _HAS_EXCEPTIONS=0)
  else()
    target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
  endif()
endfunction()

# Code that goes into notchwell.exe: built for size, each function and
# datum in a section of its own so that the linker can drop what is not
# used, and without unwind tables, which code without exceptions never
# reads. The page's WebAssembly module smaller still (-Oz): the page
# carries it and has a size to keep.
function(notchwell_small_code target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /O1 /Gy /Gw)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "wasm32")
    target_compile_options(${target} PRIVATE -Oz -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables
                                             -fno-unwind-tables)
  else()
    target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables
                                             -fno-unwind-tables)
  endif()
endfunction()
