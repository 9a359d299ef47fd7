# The formula benchmark (built with -DTREL_BENCH=ON; see tools/bench-formula.sh). Debian's muparser
# is the yardstick when it is installed; it is linked into the benchmark only.
if(TREL_BENCH)
  add_executable(formula_bench ${CMAKE_SOURCE_DIR}/bench/formula_bench.cpp)
  target_link_libraries(formula_bench PRIVATE trelcore)
  target_compile_definitions(formula_bench PRIVATE
    TREL_FORMULA_EXPRESSIONS="${CMAKE_SOURCE_DIR}/bench/formula-expressions.tsv")
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(MUPARSER QUIET IMPORTED_TARGET muparser)
  endif()
  if(MUPARSER_FOUND)
    target_link_libraries(formula_bench PRIVATE PkgConfig::MUPARSER)
    target_compile_definitions(formula_bench PRIVATE TREL_WITH_MUPARSER=1)
  else()
    message(STATUS "muparser not found: the formula benchmark measures Trel alone")
  endif()
endif()
