# The Windows program: one .exe that needs no DLL Windows does not ship (the C and
# C++ runtimes and every library linked in), in the Windows subsystem, so a
# double-click shows no console, with the ordinary main; standard output still
# reaches a file or pipe it is redirected to.
target_link_options(glasswind PRIVATE -static -static-libgcc -static-libstdc++ -mwindows -s)
# glasswind-render is a console program: it talks on standard output and error.
target_link_options(glasswind-render PRIVATE -static -static-libgcc -static-libstdc++ -s)

# glasswind-win64.zip in WINDOWS_OUTPUT_DIR: the folder glasswind-win64\ with the
# program, glasswind-render.exe, data\ and README.txt, brought up to date on every build.
set(WINDOWS_OUTPUT_DIR "${CMAKE_BINARY_DIR}/package" CACHE PATH "Where the zip and its unpacked folder go")
set(PACKAGE_NAME glasswind-win64)
set(PACKAGE_DIR ${WINDOWS_OUTPUT_DIR}/${PACKAGE_NAME})
file(MAKE_DIRECTORY ${WINDOWS_OUTPUT_DIR})
file(GLOB DATA_FILES ${CMAKE_SOURCE_DIR}/data/*.png ${CMAKE_SOURCE_DIR}/data/glasswind.mp3)
add_custom_target(windows_zip ALL
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PACKAGE_DIR} ${WINDOWS_OUTPUT_DIR}/${PACKAGE_NAME}.zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:glasswind> $<TARGET_FILE:glasswind-render>
    ${CMAKE_SOURCE_DIR}/src/platform/windows/package/README.txt ${PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${DATA_FILES} ${PACKAGE_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E tar cf ${PACKAGE_NAME}.zip --format=zip ${PACKAGE_NAME}
  WORKING_DIRECTORY ${WINDOWS_OUTPUT_DIR}
  DEPENDS glasswind glasswind-render)
