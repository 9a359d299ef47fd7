# The version header (generated/trel_version.h) that qn, trel and the language server show: the
# project version and, in a git checkout, the commit. It is rewritten at every build when it changed.
set(TREL_VERSION_HEADER ${CMAKE_BINARY_DIR}/generated/trel_version.h)
add_custom_target(trel_version
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DOUTPUT=${TREL_VERSION_HEADER}
          -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/scripts/write_version.cmake
  BYPRODUCTS ${TREL_VERSION_HEADER}
  COMMENT "Checking the version header"
  VERBATIM)
foreach(target qn trel trel_lsp)
  if(TARGET ${target})
    add_dependencies(${target} trel_version)
    target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated)
  endif()
endforeach()
