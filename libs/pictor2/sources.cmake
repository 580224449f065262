# The metafile player's sources, read by this folder's build and by the fuzz
# build (libs/pictor2/fuzz), which is a CMake project of its own.
set(PICTOR2_PLAYER_SOURCES dib.cpp emf.cpp metafile.cpp player.cpp wmf.cpp)
list(TRANSFORM PICTOR2_PLAYER_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
