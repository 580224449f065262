# How the program and its libraries are linked, for a quick start: every
# process (the program, each print job started from the command line, the
# reader program) pays at its start for each library it loads and for each
# symbol the dynamic loader looks up in them.
#   - the sections no one reaches are left out of the link (--gc-sections);
#   - a library is recorded as needed only when something kept uses it
#     (--as-needed). LLD, where it is installed, also leaves out a library
#     that only left-out code used (the GNU linker keeps it);
#   - the linker's own optimisation of the symbol tables (-O1) and the GNU
#     hash table only (--hash-style=gnu).
# The sanitizer build keeps the plain link: its instrumentation holds
# references to every global, and its tests look for faults, not speed.
include(CheckLinkerFlag)

if(NOT PLAVIK_SANITIZE)
  check_linker_flag(CXX "-fuse-ld=lld" PLAVIK_HAVE_LLD)
  if(PLAVIK_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
  add_link_options(LINKER:--gc-sections LINKER:--as-needed LINKER:-O1 LINKER:--hash-style=gnu)
endif()

# plavik_link_by_function(<target>...): each function and datum of these
# targets in a section of its own, so that a program which uses one function
# of an object file does not keep the rest of it, nor what the rest calls.
# The in-process database readers are one: the program uses only what they
# share with the reader program (the folder sources' file extensions), and
# without it would load the five reader libraries, and those they need, at
# every start.
function(plavik_link_by_function)
  if(NOT PLAVIK_SANITIZE)
    foreach(target IN LISTS ARGN)
      target_compile_options(${target} PRIVATE -ffunction-sections -fdata-sections)
    endforeach()
  endif()
endfunction()
