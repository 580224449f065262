include(GoogleTest)

# plavik_add_test(<name> SOURCES ... LIBS ...)
# A GoogleTest executable, run through CTest with the offscreen Qt platform and
# a program folder of its own (PLAVIK_HOME), so tests never touch the real one.
# Every test program fails the test that uses a host nobody installed
# (tests/support/host_guard.cpp).
function(plavik_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/host_guard.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main plavik_warnings)
  set_target_properties(${name} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    BUILD_RPATH "${PLAVIK_PROGRAM_DIR}")
  set(home ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${home})
  target_compile_definitions(${name} PRIVATE
    PLAVIK_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}"
    PLAVIK_PROGRAM_DIR="${PLAVIK_PROGRAM_DIR}")
  # One variable per property: the discovery splits a list value apart. A
  # test that hangs (a loop without an end, a process never ended) fails
  # after 15 minutes, a hundred times what any test takes on a busy machine.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${home}
    PROPERTIES ENVIRONMENT "PLAVIK_HOME=${home}" ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen"
               TIMEOUT 900)
endfunction()
