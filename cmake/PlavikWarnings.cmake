# Warnings are errors in our own code.
add_library(plavik_warnings INTERFACE)
target_compile_options(plavik_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Werror)

# Every target of ours: plavik_target(<name>)
function(plavik_target name)
  target_link_libraries(${name} PRIVATE plavik_warnings)
endfunction()
