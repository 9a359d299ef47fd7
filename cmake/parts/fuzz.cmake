# Fuzz targets. Each fuzz/<name>_target.cpp feeds one input to a part of the core.
#
# With TREL_FUZZ (a configuration of its own, built with clang: tools/fuzz.sh) every target becomes
# a libFuzzer executable fuzz_<name>, and the core is compiled with the fuzzer's coverage and the
# address and undefined-behaviour sanitizers. In the ordinary configurations each target is linked
# instead against a small main() that replays its corpus fuzz/corpus/<name>, as a core test.
option(TREL_FUZZ "Build the libFuzzer targets under fuzz/ (clang only)" OFF)

# Each target and the layer it drives.
set(TREL_FUZZ_TARGETS formula translator interpreter resources rtf syntax)
set(TREL_FUZZ_LAYER_formula trel_machine)
set(TREL_FUZZ_LAYER_translator trel_translator)
set(TREL_FUZZ_LAYER_interpreter trel_translator)
set(TREL_FUZZ_LAYER_resources trel_resources)
set(TREL_FUZZ_LAYER_rtf trel_help)
set(TREL_FUZZ_LAYER_syntax trel_editor)

if(TREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TREL_FUZZ needs clang: configure with CC=clang CXX=clang++")
  endif()
  set(fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                 -fno-omit-frame-pointer)
  get_property(core_targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS core_targets)
    if(target MATCHES "^trel_")
      target_compile_options(${target} PRIVATE ${fuzz_flags})
    endif()
  endforeach()
  foreach(name IN LISTS TREL_FUZZ_TARGETS)
    add_executable(fuzz_${name} fuzz/${name}_target.cpp)
    target_compile_options(fuzz_${name} PRIVATE ${fuzz_flags})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_${name} PRIVATE ${TREL_FUZZ_LAYER_${name}})
  endforeach()
elseif(TREL_TESTS)
  foreach(name IN LISTS TREL_FUZZ_TARGETS)
    add_executable(fuzz_replay_${name} fuzz/${name}_target.cpp fuzz/replay_main.cpp)
    target_link_libraries(fuzz_replay_${name} PRIVATE ${TREL_FUZZ_LAYER_${name}})
    add_test(NAME fuzz_replay_${name}
             COMMAND fuzz_replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name}
             WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS core)
  endforeach()
endif()
