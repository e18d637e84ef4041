# The browser build (make web, through emcmake): the demo's own sources over the web
# platform layer, with zlib and libpng compiled from Debian's sources, into WEB_OUTPUT_DIR.
set(WEB_DEPS_DIR "${CMAKE_SOURCE_DIR}/build/web-deps" CACHE PATH "zlib and libpng sources (scripts/fetch-debian-sources.sh)")
set(WEB_OUTPUT_DIR "${CMAKE_SOURCE_DIR}/build/web" CACHE PATH "The static page: index.html, the .js, the .wasm and data/")
set(WEB_DIR ${CMAKE_SOURCE_DIR}/src/platform/web)

file(GLOB ZLIB_SOURCES ${WEB_DEPS_DIR}/zlib/*.c)
add_library(web_zlib STATIC ${ZLIB_SOURCES})
target_include_directories(web_zlib PUBLIC ${WEB_DEPS_DIR}/zlib)
target_compile_options(web_zlib PRIVATE -O2 -w)
# What zlib's own configure finds on a POSIX system: without it gzlib.c calls lseek
# undeclared, which newer clangs refuse.
target_compile_definitions(web_zlib PUBLIC HAVE_UNISTD_H HAVE_STDARG_H)

set(PNG_DIR ${WEB_DEPS_DIR}/libpng)
configure_file(${PNG_DIR}/scripts/pnglibconf.h.prebuilt ${CMAKE_BINARY_DIR}/png/pnglibconf.h COPYONLY)
set(PNG_NAMES png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio pngwrite
  pngwtran pngwutil)
list(TRANSFORM PNG_NAMES PREPEND ${PNG_DIR}/)
list(TRANSFORM PNG_NAMES APPEND .c)
add_library(web_png STATIC ${PNG_NAMES})
target_include_directories(web_png PUBLIC ${PNG_DIR} ${CMAKE_BINARY_DIR}/png)
target_compile_options(web_png PRIVATE -O2 -w)
target_link_libraries(web_png PUBLIC web_zlib)

# The demo as on the desktop, from its layers' own source lists (src/sources.cmake),
# less the desktop's platform layers, which the page's own below replace.
include(${CMAKE_SOURCE_DIR}/src/sources.cmake)
set(DEMO_SOURCES ${LOGIC_SOURCES} ${GL_SOURCES} ${APP_SOURCES})
list(FILTER DEMO_SOURCES EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/src/platform/")
set(WEB_SOURCES
  audio_web.cpp
  dialog_web.cpp
  fixed_lighting.cpp
  fixed_matrix.cpp
  fixed_pipeline.cpp
  gl_entry.cpp
  glut_solids.cpp
  screen_web.cpp
  web_main.cpp
  web_page.cpp
  webgl_backend.cpp
  windowing_web.cpp)
list(TRANSFORM WEB_SOURCES PREPEND ${WEB_DIR}/)

add_executable(glasswind ${DEMO_SOURCES} ${WEB_SOURCES})
target_include_directories(glasswind PRIVATE ${CMAKE_SOURCE_DIR}/src ${WEB_DIR}/include)
target_compile_options(glasswind PRIVATE -O2)
target_link_libraries(glasswind PRIVATE web_png)
set(WEB_LINK_FLAGS
  -O2 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sINVOKE_RUN=0 -sEXIT_RUNTIME=1 -sFORCE_FILESYSTEM=1
  -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
  "-sEXPORTED_RUNTIME_METHODS=['FS','callMain','ccall','UTF8ToString']"
  "-sEXPORTED_FUNCTIONS=['_main','_glasswindDataFile']")
target_link_options(glasswind PRIVATE ${WEB_LINK_FLAGS})
set_target_properties(glasswind PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${WEB_OUTPUT_DIR})

# The page and the data beside the program, brought up to date on every build.
file(GLOB DATA_FILES ${CMAKE_SOURCE_DIR}/data/*.png ${CMAKE_SOURCE_DIR}/data/glasswind.mp3)
add_custom_target(web_page ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${WEB_OUTPUT_DIR}/data
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WEB_DIR}/page/index.html ${WEB_DIR}/page/page.js ${WEB_OUTPUT_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${DATA_FILES} ${WEB_OUTPUT_DIR}/data)
