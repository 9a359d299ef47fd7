# trel: the IDE and the standalone runtime in one executable.
file(GLOB TREL_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/trel/*.cpp)
add_executable(trel ${TREL_APP_SOURCES})
target_link_libraries(trel PRIVATE trelcore)
if(TARGET trelgui)
  target_link_libraries(trel PRIVATE trelgui)
  target_compile_definitions(trel PRIVATE TREL_WITH_GUI=1)
else()
  target_compile_definitions(trel PRIVATE TREL_WITH_GUI=0)
endif()

# Every trel is also the runtime stub: once linked it gets the stub resources (the placeholder
# entry, the program icon) appended, and a copy named base.exe is placed beside it for Build exe.
# `qn build` takes ./base.exe, else this trel beside qn. Appended data does not survive `strip`,
# so an installed trel must not be stripped after this step.
add_executable(trel-stub-tool ${CMAKE_SOURCE_DIR}/src/app/tools/trel_stub_tool.cpp)
target_link_libraries(trel-stub-tool PRIVATE trelcore)
add_dependencies(trel trel-stub-tool)
add_custom_command(TARGET trel POST_BUILD
  COMMAND trel-stub-tool $<TARGET_FILE:trel>
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:trel> $<TARGET_FILE_DIR:trel>/base.exe
  COMMENT "Adding the stub resources to trel and placing base.exe"
  VERBATIM)

if(TARGET core_tests)
  target_compile_definitions(core_tests PRIVATE TREL_TREL_PATH="$<TARGET_FILE:trel>")
  add_dependencies(core_tests trel)
endif()
