# Our own targets build with warnings as errors; third-party headers come in as SYSTEM.
function(decor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
