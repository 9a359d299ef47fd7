# libqntest.so: a native library with five-parameter functions that the core tests call through
# EXTL and EXTS. The tests find it through TREL_NATIVE_TESTLIB.
if(TARGET core_tests)
  add_library(qntest SHARED ${CMAKE_SOURCE_DIR}/tests/native_lib/qntest.c)
  set_target_properties(qntest PROPERTIES
    C_VISIBILITY_PRESET hidden
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(core_tests qntest)
  target_compile_definitions(core_tests PRIVATE TREL_NATIVE_TESTLIB="$<TARGET_FILE:qntest>")
endif()
