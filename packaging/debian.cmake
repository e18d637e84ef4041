# The Debian package (make deb): CPack's DEB generator over the install rules above,
# from the build tree as it stands. Its dependencies are worked out by dpkg-shlibdeps
# from the two programs' own libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glasswind)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "${GLASSWIND_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running real-time 3D demo")
# The long description, under the summary's line; CPack cannot carry double quotes into it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "NQL-004 Glasswind plays ten scenes in real time, with 37 camera shots,
flashes, fades, captions and credits, in step with one music track, for about
three minutes. It asks one question at the start, full screen or a window,
then plays by itself and quits.
.
It needs OpenGL (any Mesa driver will do, software rendering too) and a sound
device. The glasswind-render tool draws the demo offscreen into pictures, or
into a video with the music through ffmpeg.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${GLASSWIND_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The question in the desktop's own box; videos from glasswind-render.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zenity | kdialog")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
# Files owned by root, folders 0755, and the programs stripped of the build's debug information.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package-work)
include(CPack)
