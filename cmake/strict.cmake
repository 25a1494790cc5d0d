# Settings every target of the project shares: warnings as errors, and
# floating point exactly as written (no contraction into fused
# multiply-add; SSE2 rather than x87 on 32-bit x86, set by the toolchains).
add_compile_options(-ffp-contract=off)

if(NOTCHWELL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings are errors in all of the project's own code (not in the
# third-party test framework it builds).
function(notchwell_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# The program itself uses neither exceptions nor RTTI.
function(notchwell_program_options target)
  notchwell_strict(${target})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti)
endfunction()
