# Run by the install (cmake --install, CPack): writes the files that name the installed
# folders, the menu entry and both manual pages, for the prefix the install has, and
# installs them. Its variables come from packaging/CMakeLists.txt.
set(INSTALLED_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${GAMES_BINDIR}/glasswind")
set(INSTALLED_PROGRAM "${CMAKE_INSTALL_PREFIX}/${GAMES_LIBDIR}/glasswind")
set(INSTALLED_DATA_PARENT "${CMAKE_INSTALL_PREFIX}/${GAMES_DATADIR}")
# A folder of their own for each place installed to, so installs to two places at once
# (a test's and CPack's) never write the same files.
string(MD5 place "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(GENERATED "${GENERATED}/${place}")
configure_file("${SOURCE_DIR}/glasswind.desktop.in" "${GENERATED}/${APPSTREAM_ID}.desktop" @ONLY)
configure_file("${SOURCE_DIR}/glasswind.6.in" "${GENERATED}/glasswind.6" @ONLY)
execute_process(COMMAND "${RENDER_MANUAL}" "${INSTALLED_DATA_PARENT}" OUTPUT_FILE "${GENERATED}/glasswind-render.1"
  COMMAND_ERROR_IS_FATAL ANY)
# Manual pages are kept compressed, without a name or time stamp, so each build is the same.
foreach(page glasswind.6 glasswind-render.1)
  execute_process(COMMAND gzip -9nf "${GENERATED}/${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(INSTALL "${GENERATED}/${APPSTREAM_ID}.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/${DATADIR}/applications")
file(INSTALL "${GENERATED}/glasswind.6.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${MANDIR}/man6")
file(INSTALL "${GENERATED}/glasswind-render.1.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${MANDIR}/man1")
