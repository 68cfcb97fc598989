# Warnings are errors everywhere; each target opts in through
# velmora_set_warnings so that third-party code is not affected.
function(velmora_set_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Werror
      -Wshadow -Wconversion -Wsign-conversion -Wcast-align
      -Wdouble-promotion
      $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual>)
  endif()
endfunction()
