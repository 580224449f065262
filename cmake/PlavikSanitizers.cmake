# PLAVIK_SANITIZE=ON builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer (`make test-sanitize` uses it in build-sanitize
# and runs the tests with the sanitizers' options: any report stops the
# process, so the test that provoked it fails).
option(PLAVIK_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(PLAVIK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # The sanitizers' instrumentation makes GCC's flow analysis report values
  # "maybe uninitialized" inside Qt's and the standard library's headers
  # where the plain build sees none; the plain build keeps the warning.
  add_compile_options(-Wno-maybe-uninitialized)
endif()
