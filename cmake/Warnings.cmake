# Warnings for every target of the project; errors when PL4120_WERROR is on (CI and test.sh).
function(pl4120_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(PL4120_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
