# Compile options shared by every target of the project.
#
# -ffp-contract=off keeps the track polyline's doubles bit-identical across
# compilers and platforms: a fused multiply-add would round differently.
function(tracciato_project_options target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX /fp:precise)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Werror -ffp-contract=off)
  endif()
endfunction()
