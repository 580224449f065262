# How the program and its libraries are linked, for a quick start: every
# process (the program, each print job started from the command line, the
# reader program) pays at its start for each library it loads and for each
# symbol the dynamic loader looks up in them.
#   - the sections no one reaches are left out of the link (--gc-sections);
#   - a library is recorded as needed only when something linked uses it
#     (--as-needed): the program loads none of the database readers'
#     libraries, which only the reader program uses;
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
