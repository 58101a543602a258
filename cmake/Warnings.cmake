# Our own targets build with warnings on in every configuration; third-party headers come in as
# SYSTEM. Whether a warning stops the build is CMAKE_COMPILE_WARNING_AS_ERROR: ON in the
# developer and CI presets, OFF by default, so a distribution's own flags never break a build.
function(decor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
