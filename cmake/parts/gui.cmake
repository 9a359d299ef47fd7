# The Qt views (trelgui) and their offscreen tests (gui_tests). Only here is Qt used.
if(TREL_GUI)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Test)
  # QScintilla ships neither a CMake config nor a pkg-config file.
  find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h
            HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}
            PATH_SUFFIXES x86_64-linux-gnu/qt6 qt6)
  find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
  if(NOT QSCINTILLA_INCLUDE_DIR OR NOT QSCINTILLA_LIBRARY)
    message(FATAL_ERROR "QScintilla for Qt 6 not found: install libqscintilla2-qt6-dev "
                        "(or configure with -DTREL_GUI=OFF)")
  endif()
  add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
  set_target_properties(QScintilla::QScintilla PROPERTIES
    IMPORTED_LOCATION "${QSCINTILLA_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${QSCINTILLA_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")

  file(GLOB TREL_GUI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/gui/*.cpp)
  add_library(trelgui STATIC ${TREL_GUI_SOURCES})
  set_target_properties(trelgui PROPERTIES AUTOMOC ON)
  target_link_libraries(trelgui PUBLIC trelcore Qt6::Widgets QScintilla::QScintilla)
  # File > Examples of a build that is not installed lists the source tree's examples.
  target_compile_definitions(trelgui PRIVATE TREL_SOURCE_EXAMPLES="${CMAKE_SOURCE_DIR}/examples")

  if(TREL_TESTS)
    file(GLOB TREL_GUI_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/gui/*.cpp)
    add_executable(gui_tests ${TREL_GUI_TEST_SOURCES})
    set_target_properties(gui_tests PROPERTIES AUTOMOC ON)
    target_link_libraries(gui_tests PRIVATE trelgui Qt6::Test)
    target_compile_definitions(gui_tests PRIVATE TREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                               TREL_BASE_EXE="${CMAKE_BINARY_DIR}/base.exe"
                               TREL_TREL_PATH="$<TARGET_FILE:trel>")
    add_dependencies(gui_tests trel)  # its base.exe is the stub of the Build exe tests
    # Qt wants a private runtime directory; the offscreen platform needs no display.
    set(TREL_GUI_RUNTIME_DIR ${CMAKE_BINARY_DIR}/gui-runtime)
    file(MAKE_DIRECTORY ${TREL_GUI_RUNTIME_DIR})
    file(CHMOD ${TREL_GUI_RUNTIME_DIR} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    add_test(NAME gui_tests COMMAND gui_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(gui_tests PROPERTIES
      LABELS gui
      TIMEOUT 600
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${TREL_GUI_RUNTIME_DIR}")
  endif()
endif()

# The interpreter loop on the terminal host and on the Qt host, side by side (-DTREL_BENCH=ON).
if(TREL_GUI AND TREL_BENCH)
  add_executable(qt_host_bench ${CMAKE_SOURCE_DIR}/bench/qt_host_bench.cpp)
  target_link_libraries(qt_host_bench PRIVATE trelgui)
  # Find, replace and go to line in the editor on a long text.
  add_executable(editor_bench ${CMAKE_SOURCE_DIR}/bench/editor_bench.cpp)
  target_link_libraries(editor_bench PRIVATE trelgui)
  # Start-up, opening a long file and typing in it, through the IDE's session (tools/bench-ide.sh).
  add_executable(ide_bench ${CMAKE_SOURCE_DIR}/bench/ide_bench.cpp)
  target_link_libraries(ide_bench PRIVATE trelgui)
endif()
