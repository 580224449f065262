# What `cmake --install` (make install, the package) puts below the prefix:
#   bin/plavik                    the program
#   lib/plavik/                   its own libraries and the reader program
#                                 (plavik-reader), found through $ORIGIN
#   share/plavik/                 its own files: graphics, clip-art, help and
#                                 the sample database (read, never written)
#   share/applications/plavik.desktop, share/mime/packages/plavik.xml,
#   share/icons/hicolor/*/apps/plavik.*   the menu entry, the .lab type, the icon
# The program finds its files from where its executable is and keeps what a
# user changes in that user's folders (platform/programfolder.h), so nothing
# is written below the prefix at install time or later.
set(PLAVIK_INSTALL_BINDIR bin)
set(PLAVIK_INSTALL_LIBDIR lib/plavik)
set(PLAVIK_INSTALL_DATADIR share/plavik)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME plavik)

# The icon: the SVG itself and the PNG sizes of the hicolor theme, drawn from
# it at build time.
set(PLAVIK_ICON_SIZES 16 22 24 32 48 64 128 256)
set(PLAVIK_ICON_SVG ${CMAKE_SOURCE_DIR}/resources/desktop/plavik.svg)
set(PLAVIK_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
add_executable(plavik_rendericon ${CMAKE_SOURCE_DIR}/resources/desktop/rendericon.cpp)
target_link_libraries(plavik_rendericon PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(plavik_rendericon PROPERTIES AUTOMOC OFF RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
plavik_target(plavik_rendericon)
set(icon_pngs)
foreach(size IN LISTS PLAVIK_ICON_SIZES)
  list(APPEND icon_pngs ${PLAVIK_ICON_DIR}/${size}x${size}/apps/plavik.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_pngs}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:plavik_rendericon> ${PLAVIK_ICON_SVG} ${PLAVIK_ICON_DIR} ${PLAVIK_ICON_SIZES}
  DEPENDS plavik_rendericon ${PLAVIK_ICON_SVG}
  COMMENT "Drawing the program's icon")
add_custom_target(program_icon ALL DEPENDS ${icon_pngs})

# The targets defined below `dir` and its subfolders.
function(plavik_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    plavik_targets_below(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The program's own shared libraries, wherever they are defined (tests and
# benches are not part of the program).
set(PLAVIK_INSTALL_LIBRARIES)
foreach(dir IN LISTS PLAVIK_SOURCE_DIRS)
  plavik_targets_below(${CMAKE_SOURCE_DIR}/${dir} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      list(APPEND PLAVIK_INSTALL_LIBRARIES ${target})
    endif()
  endforeach()
endforeach()

set_target_properties(plavik PROPERTIES INSTALL_RPATH "$ORIGIN/../${PLAVIK_INSTALL_LIBDIR}")
install(TARGETS plavik RUNTIME DESTINATION ${PLAVIK_INSTALL_BINDIR})
set_target_properties(${PLAVIK_INSTALL_LIBRARIES} PROPERTIES INSTALL_RPATH "$ORIGIN")
# Only the run-time files: no development symlink (libx.so) of a library that
# has a versioned name.
install(TARGETS ${PLAVIK_INSTALL_LIBRARIES} LIBRARY DESTINATION ${PLAVIK_INSTALL_LIBDIR} NAMELINK_SKIP)
if(TARGET plavik-reader)
  set_target_properties(plavik-reader PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS plavik-reader RUNTIME DESTINATION ${PLAVIK_INSTALL_LIBDIR})
endif()

# The program folder's contents made at build time (only these: a program
# started from the build keeps plavik.ini and plavik.db beside them).
foreach(folder graphics clipart help database)
  install(DIRECTORY ${PLAVIK_PROGRAM_DIR}/${folder} DESTINATION ${PLAVIK_INSTALL_DATADIR})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/plavik.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/plavik-mime.xml DESTINATION share/mime/packages
        RENAME plavik.xml)
install(FILES ${PLAVIK_ICON_SVG} DESTINATION share/icons/hicolor/scalable/apps)
foreach(size IN LISTS PLAVIK_ICON_SIZES)
  install(FILES ${PLAVIK_ICON_DIR}/${size}x${size}/apps/plavik.png DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# An install straight into a prefix (not a package's staging folder, where
# the system's own triggers do it) tells the desktop about the new entry and
# file type, when the tools are there.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    if(update_mime)
      execute_process(COMMAND ${update_mime} "${CMAKE_INSTALL_PREFIX}/share/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(update_desktop)
      execute_process(COMMAND ${update_desktop} -q "${CMAKE_INSTALL_PREFIX}/share/applications"
                      OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
