# plavik_add_images(target resource PREFIX prefix NAMES name ...): the
# pictures resources/images/<name>.svg compiled into the target, reached as
# ":<prefix>/<name>.svg".
function(plavik_add_images target resource)
  cmake_parse_arguments(ARG "" "PREFIX" "NAMES" ${ARGN})
  set(files)
  foreach(name IN LISTS ARG_NAMES)
    list(APPEND files ${CMAKE_SOURCE_DIR}/resources/images/${name}.svg)
  endforeach()
  qt_add_resources(${target} ${resource}
    PREFIX ${ARG_PREFIX}
    BASE ${CMAKE_SOURCE_DIR}/resources/images
    FILES ${files})
endfunction()
