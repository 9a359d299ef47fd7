# The installed Trel and its Debian package.
#
#   cmake --install BUILD --prefix P     installs the layout below (relocatable: nothing refers to
#                                        the build or source folder, the launcher finds P itself)
#   cmake --build BUILD --target package_deb    builds trel_VERSION_ARCH.deb with cpack
#
#   P/bin/trel, P/bin/qn, P/bin/trel-ide          the IDE and runtime, the command line, the launcher
#   P/lib/trel/base.exe                           the runtime stub (a link to bin/trel)
#   P/share/trel/                                 halp.rtf, lib/*.qnlib, examples/*.qn, VERSION
#   P/share/man/man1/                             qn.1, trel.1, trel-ide.1 (gzipped)
#   P/share/applications, metainfo, mime/packages, icons/hicolor     the desktop integration
#   P/share/bash-completion, zsh, fish                                shell completion
#   P/share/org.kde.syntax-highlighting, gtksourceview-*, vim/vimfiles  QN+ for other editors
#   P/share/doc/trel/                             copyright, changelog
#
# The installed trel is a stripped copy with the stub resources added again afterwards: strip
# removes data appended to an executable, so it must come first (and nothing may strip later).
include(GNUInstallDirs)

set(TREL_RELEASE_DATE 2026-12-08)  # the date of PROJECT_VERSION, for the man pages and metainfo
set(TREL_DIST ${CMAKE_BINARY_DIR}/dist)

find_package(PNG REQUIRED)
add_executable(trel-icon-tool ${CMAKE_SOURCE_DIR}/src/app/tools/trel_icon_tool.cpp)
target_link_libraries(trel-icon-tool PRIVATE trel_resources PNG::PNG)
add_executable(trel-syntax-tool ${CMAKE_SOURCE_DIR}/src/app/tools/trel_syntax_tool.cpp)
target_link_libraries(trel-syntax-tool PRIVATE trel_editor)

if(NOT CMAKE_STRIP)
  message(FATAL_ERROR "strip (binutils) is needed to prepare the installed executables")
endif()
add_custom_command(OUTPUT ${TREL_DIST}/bin/trel ${TREL_DIST}/bin/qn
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TREL_DIST}/bin
  COMMAND ${CMAKE_STRIP} --strip-unneeded --remove-section=.comment -o ${TREL_DIST}/bin/qn
          $<TARGET_FILE:qn>
  COMMAND ${CMAKE_STRIP} --strip-unneeded --remove-section=.comment -o ${TREL_DIST}/bin/trel
          $<TARGET_FILE:trel>
  COMMAND trel-stub-tool ${TREL_DIST}/bin/trel
  DEPENDS qn trel trel-stub-tool
  COMMENT "Stripping qn and trel for installation and adding the stub resources again"
  VERBATIM)

add_custom_command(OUTPUT ${TREL_DIST}/icons/trel.svg
  COMMAND trel-icon-tool ${TREL_DIST}/icons
  DEPENDS trel-icon-tool
  COMMENT "Drawing the application icon"
  VERBATIM)

set(TREL_SYNTAX_FILES ${TREL_DIST}/syntax/qnplus.xml ${TREL_DIST}/syntax/qnplus.lang
    ${TREL_DIST}/syntax/vim/syntax/qn.vim ${TREL_DIST}/syntax/vim/ftdetect/qn.vim)
add_custom_command(OUTPUT ${TREL_SYNTAX_FILES}
  COMMAND trel-syntax-tool ${TREL_DIST}/syntax
  DEPENDS trel-syntax-tool
  COMMENT "Writing the QN+ language definitions for other editors"
  VERBATIM)

# Texts that carry the version, and the compressed man pages and changelog.
execute_process(COMMAND date -R -u -d "${TREL_RELEASE_DATE}" OUTPUT_VARIABLE TREL_CHANGELOG_DATE
                OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(packaging/trel.metainfo.xml ${TREL_DIST}/org.qnplus.Trel.metainfo.xml @ONLY)
configure_file(packaging/changelog.in ${TREL_DIST}/changelog @ONLY)
configure_file(docs/man/qn.1 ${TREL_DIST}/man/qn.1 @ONLY)
configure_file(docs/man/trel.1 ${TREL_DIST}/man/trel.1 @ONLY)
file(WRITE ${TREL_DIST}/VERSION.new "${PROJECT_VERSION}\n")
file(COPY_FILE ${TREL_DIST}/VERSION.new ${TREL_DIST}/VERSION ONLY_IF_DIFFERENT)
set(TREL_GZIPPED ${TREL_DIST}/man/qn.1.gz ${TREL_DIST}/man/trel.1.gz ${TREL_DIST}/changelog.gz)
foreach(gz IN LISTS TREL_GZIPPED)
  string(REGEX REPLACE "\\.gz$" "" plain ${gz})
  # -n: no name or time stamp inside, so the same text always gives the same bytes.
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9 -n -f -k ${plain}
    DEPENDS ${plain}
    VERBATIM)
endforeach()

add_custom_target(trel_syntax_files DEPENDS ${TREL_SYNTAX_FILES})
if(TARGET core_tests)
  target_compile_definitions(core_tests PRIVATE TREL_EDITOR_DEFINITIONS_DIR="${TREL_DIST}/syntax")
  add_dependencies(core_tests trel_syntax_files)
endif()

add_custom_target(trel_dist ALL
  DEPENDS ${TREL_DIST}/bin/trel ${TREL_DIST}/bin/qn ${TREL_DIST}/icons/trel.svg
          ${TREL_SYNTAX_FILES} ${TREL_GZIPPED})

# The guide in the build folder, where qn lsp looks beside qn.
configure_file(data/halp.rtf ${CMAKE_BINARY_DIR}/halp.rtf COPYONLY)

set(datadir ${CMAKE_INSTALL_DATADIR})
install(PROGRAMS ${TREL_DIST}/bin/trel ${TREL_DIST}/bin/qn packaging/trel-ide
        DESTINATION ${CMAKE_INSTALL_BINDIR})
# lib/trel/base.exe -> ../../bin/trel, made in the staging root so it stays relative.
install(CODE "
  set(stubdir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/trel\")
  file(MAKE_DIRECTORY \"\${stubdir}\")
  file(REMOVE \"\${stubdir}/base.exe\")
  file(CREATE_LINK ../../${CMAKE_INSTALL_BINDIR}/trel \"\${stubdir}/base.exe\" SYMBOLIC)
  message(STATUS \"Installing: \${stubdir}/base.exe -> ../../${CMAKE_INSTALL_BINDIR}/trel\")
")
install(FILES data/halp.rtf ${TREL_DIST}/VERSION DESTINATION ${datadir}/trel)
install(DIRECTORY lib/ DESTINATION ${datadir}/trel/lib FILES_MATCHING PATTERN "*.qnlib")
install(DIRECTORY examples/ DESTINATION ${datadir}/trel/examples FILES_MATCHING PATTERN "*.qn")

install(FILES ${TREL_DIST}/man/qn.1.gz ${TREL_DIST}/man/trel.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(CODE "
  file(CREATE_LINK trel.1.gz
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/trel-ide.1.gz\" SYMBOLIC)
")

install(FILES packaging/trel.desktop DESTINATION ${datadir}/applications)
install(FILES ${TREL_DIST}/org.qnplus.Trel.metainfo.xml DESTINATION ${datadir}/metainfo)
install(FILES packaging/trel-mime.xml DESTINATION ${datadir}/mime/packages RENAME trel.xml)
install(FILES ${TREL_DIST}/icons/trel.svg DESTINATION ${datadir}/icons/hicolor/scalable/apps)
foreach(side 16 24 32 48 64 128 256)
  install(FILES ${TREL_DIST}/icons/${side}x${side}/trel.png
          DESTINATION ${datadir}/icons/hicolor/${side}x${side}/apps)
endforeach()

install(FILES packaging/completion/qn.bash DESTINATION ${datadir}/bash-completion/completions
        RENAME qn)
install(FILES packaging/completion/_qn DESTINATION ${datadir}/zsh/vendor-completions)
install(FILES packaging/completion/qn.fish DESTINATION ${datadir}/fish/vendor_completions.d)

install(FILES ${TREL_DIST}/syntax/qnplus.xml DESTINATION ${datadir}/org.kde.syntax-highlighting/syntax)
foreach(gtk gtksourceview-3.0 gtksourceview-4 gtksourceview-5)
  install(FILES ${TREL_DIST}/syntax/qnplus.lang DESTINATION ${datadir}/${gtk}/language-specs)
endforeach()
install(FILES ${TREL_DIST}/syntax/vim/syntax/qn.vim DESTINATION ${datadir}/vim/vimfiles/syntax)
install(FILES ${TREL_DIST}/syntax/vim/ftdetect/qn.vim DESTINATION ${datadir}/vim/vimfiles/ftdetect)

install(FILES packaging/copyright ${TREL_DIST}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Depends comes from the executables' shared libraries (dpkg-shlibdeps).
set(CPACK_PACKAGE_NAME trel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Trel developers <trel-developers@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${TREL_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Trel is a small development environment for QN+, a simple imperative
language for learning how programs run. A translator rewrites QN+ source
line by line into a low-level text code; an interpreter runs it step by
step with a trace log and a console; a formula evaluator computes
expressions; Build exe turns a program into a standalone executable.
.
This package holds the IDE (trel, started with trel-ide), the qn command
line with a debugger and a language server for other editors, the guide to
QN+, sample libraries and examples, and QN+ syntax definitions for Kate,
GtkSourceView editors and Vim.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_STRIP_FILES OFF)  # the stub's appended resources would be lost
include(CPack)

add_custom_target(package_deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B ${CMAKE_BINARY_DIR}/packages
  DEPENDS trel_dist
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Building the Debian package"
  VERBATIM)
