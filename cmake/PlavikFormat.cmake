# `format-check`: fails when a tracked C++ source differs from the style in
# .clang-format (tools/format.sh --check). `make format` formats the tree.
find_program(PLAVIK_CLANG_FORMAT NAMES clang-format clang-format-14)
if(PLAVIK_CLANG_FORMAT)
  add_custom_target(format-check
    COMMAND ${CMAKE_COMMAND} -E env CLANG_FORMAT=${PLAVIK_CLANG_FORMAT}
            bash ${CMAKE_SOURCE_DIR}/tools/format.sh --check
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Checking the source style"
    VERBATIM)
endif()
