# cmake -D FILE=... -D RUNPATH=... -P setrunpath.cmake: gives a built
# program the library search path RUNPATH in place of the one it was built
# with (which must be at least as long).
file(RPATH_SET FILE "${FILE}" NEW_RPATH "${RUNPATH}")
