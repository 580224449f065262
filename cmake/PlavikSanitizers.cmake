# PLAVIK_SANITIZE=ON builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer (`make test-sanitize` uses it in build-sanitize).
# Any report stops the process, so a test that provokes one fails.
option(PLAVIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(PLAVIK_TEST_ENVIRONMENT "")
if(PLAVIK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # Leaks are checked; the suppressions name only libraries that are not ours.
  list(APPEND PLAVIK_TEST_ENVIRONMENT
    "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0")
endif()
