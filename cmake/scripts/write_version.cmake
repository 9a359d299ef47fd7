# Writes the version header: the project version, and the commit when the source is a git checkout
# (with "-dirty" when it has uncommitted changes). Run at every build, it rewrites the header only
# when its text changed, so a new commit recompiles the few files that show the version.
#   cmake -DSOURCE_DIR=... -DOUTPUT=... -DVERSION=... -P write_version.cmake
set(commit "")
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --always --dirty --abbrev=10
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    set(commit "")
  endif()
endif()
set(text "// Written by cmake/scripts/write_version.cmake at build time.
#pragma once
#define TREL_VERSION \"${VERSION}\"
#define TREL_COMMIT \"${commit}\"
")
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
