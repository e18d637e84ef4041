# The libraries of the Windows build (make windows), static, from the prefix that
# scripts/build-windows-deps.sh fills, under the target names the Linux build uses.
set(WINDOWS_DEPS_PREFIX "" CACHE PATH "The libraries cross-built for Windows (scripts/build-windows-deps.sh)")
if(NOT WINDOWS_DEPS_PREFIX)
  message(FATAL_ERROR "Set WINDOWS_DEPS_PREFIX to the prefix of scripts/build-windows-deps.sh (make windows does)")
endif()

# The prefix's .pc files name the folder they were built in: pkg-config takes the
# prefix from where each file lies, so a prefix copied or moved elsewhere still works.
set(PKG_CONFIG_ARGN --define-prefix)

find_package(OpenGL REQUIRED)
find_package(Threads REQUIRED)

# NAME MODULE: the target PkgConfig::NAME with the module's static link line.
function(static_package name module)
  pkg_check_modules(${name} REQUIRED ${module})
  add_library(PkgConfig::${name} INTERFACE IMPORTED)
  target_include_directories(PkgConfig::${name} INTERFACE ${${name}_STATIC_INCLUDE_DIRS})
  target_compile_options(PkgConfig::${name} INTERFACE ${${name}_STATIC_CFLAGS_OTHER})
  # SDL's names -mwindows: each program says its own subsystem (windows_package.cmake).
  set(link_flags ${${name}_STATIC_LDFLAGS_OTHER})
  list(REMOVE_ITEM link_flags -mwindows)
  target_link_options(PkgConfig::${name} INTERFACE ${link_flags})
  target_link_directories(PkgConfig::${name} INTERFACE ${${name}_STATIC_LIBRARY_DIRS})
  target_link_libraries(PkgConfig::${name} INTERFACE ${${name}_STATIC_LIBRARIES})
endfunction()

static_package(SDL2 sdl2)
static_package(SNDFILE sndfile)
static_package(OPENMPT libopenmpt)
static_package(PNG_STATIC libpng16)
static_package(GLUT_STATIC glut)
add_library(PNG::PNG ALIAS PkgConfig::PNG_STATIC)
# freeglut's own .pc names only opengl32 of the GL libraries; the props call GLU.
add_library(GLUT::GLUT INTERFACE IMPORTED)
target_link_libraries(GLUT::GLUT INTERFACE PkgConfig::GLUT_STATIC OpenGL::GLU OpenGL::GL)
