# Where the installed program's files go, under the prefix (/usr for the package): the program,
# the guide and read-me where it looks for them (../share/quantorium from the program), the
# desktop entry, icons and file type, the software centres' description, the manual page and
# the shell's completion.
include(GNUInstallDirs)
add_subdirectory(${PROJECT_SOURCE_DIR}/packaging ${CMAKE_BINARY_DIR}/packaging)
set(KQ_MADE ${CMAKE_BINARY_DIR}/packaging)
set(KQ_DATA ${CMAKE_INSTALL_DATADIR})

# Symbols resolved at start, so that the program's table of them can be made read-only.
target_link_options(quantorium PRIVATE LINKER:-z,relro,-z,now)
install(TARGETS quantorium RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compilers' notes, as Debian's tools do.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quantorium\" COMMAND_ERROR_IS_FATAL ANY)
endif()")
install(FILES ${PROJECT_SOURCE_DIR}/docs/QuantoriaHelp.html ${PROJECT_SOURCE_DIR}/docs/ReadMe.txt
        DESTINATION ${KQ_DATA}/quantorium)
install(FILES ${PROJECT_SOURCE_DIR}/docs/quantorium.desktop DESTINATION ${KQ_DATA}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/docs/quantorium-workplace.xml DESTINATION ${KQ_DATA}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/docs/quantorium.svg DESTINATION ${KQ_DATA}/icons/hicolor/scalable/apps)
install(DIRECTORY ${KQ_MADE}/icons/ DESTINATION ${KQ_DATA}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.example.kx.quantorium.metainfo.xml DESTINATION ${KQ_DATA}/metainfo)
install(FILES ${KQ_MADE}/quantorium.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quantorium.bash-completion
        DESTINATION ${KQ_DATA}/bash-completion/completions RENAME quantorium)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${KQ_MADE}/changelog.gz DESTINATION ${KQ_DATA}/doc/quantorium)
# Only the Debian package has a use for these (scripts/quantorium.sh package).
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${KQ_DATA}/lintian/overrides
        RENAME quantorium COMPONENT debian EXCLUDE_FROM_ALL)
