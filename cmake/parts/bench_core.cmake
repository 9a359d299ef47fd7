# Benchmarks of the interpreter and the translator (built with -DTREL_BENCH=ON; see tools/bench.sh).
if(TREL_BENCH)
  add_executable(interpreter_bench ${CMAKE_SOURCE_DIR}/bench/interpreter_bench.cpp)
  target_link_libraries(interpreter_bench PRIVATE trelcore)
endif()
if(TREL_BENCH)
  add_executable(translator_bench ${CMAKE_SOURCE_DIR}/bench/translator_bench.cpp)
  target_link_libraries(translator_bench PRIVATE trelcore)
endif()
