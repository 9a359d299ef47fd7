# Benchmark of built programs' start-up and of Build exe (built with -DTREL_BENCH=ON):
#   build_bench [TREL] [RUNS]
if(TREL_BENCH)
  add_executable(build_bench ${CMAKE_SOURCE_DIR}/bench/build_bench.cpp)
  target_link_libraries(build_bench PRIVATE trelcore)
  target_compile_definitions(build_bench PRIVATE TREL_BENCH_TREL_PATH="$<TARGET_FILE:trel>")
  add_dependencies(build_bench trel)
endif()
