# Compile options shared by every target of the project.
#
# -ffp-contract=off keeps the track polyline's doubles bit-identical across
# compilers and platforms: a fused multiply-add would round differently.
#
# Warnings are errors only where the project's own compilers are known (the
# presets and CI turn TRACCIATO_WARNINGS_AS_ERRORS on): another compiler's
# false warning must not break a plain build.
option(TRACCIATO_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

function(tracciato_project_options target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /fp:precise)
    if(TRACCIATO_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -ffp-contract=off)
    if(TRACCIATO_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
