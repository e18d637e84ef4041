# The source files of the demo's layers, listed once: src/CMakeLists.txt builds its
# libraries from them, and the browser build compiles the same lists.
set(LOGIC_SOURCES
  app/clock.cpp
  app/window_placement.cpp
  assets/png_decode.cpp
  direction/camera.cpp
  direction/closing_shots.cpp
  direction/intervals.cpp
  direction/light.cpp
  direction/opening_shots.cpp
  direction/timeline.cpp
  platform/audio_device_clock.cpp
  platform/audio_drivers.cpp
  platform/audio_mixer.cpp
  platform/dialog_tools.cpp
  platform/monitors.cpp
  platform/server_clock.cpp
  scenes/credits.cpp
  scenes/prop_curves.cpp
  view/overlay_layout.cpp)

set(GL_SOURCES
  app/render_state.cpp
  assets/png_texture.cpp
  assets/texture_set.cpp
  direction/camera_gl.cpp
  direction/light_gl.cpp
  direction/timeline_gl.cpp
  scenes/closing_scenes.cpp
  scenes/opening_scenes.cpp
  scenes/props.cpp
  view/overlays.cpp
  view/projection.cpp)

set(AUDIO_DECODE_SOURCES
  platform/audio_decode.cpp)

# The platform layers every system shares; src/CMakeLists.txt adds each system's own.
set(PLATFORM_SOURCES
  platform/audio_layer.cpp
  platform/audio_sdl.cpp
  platform/windowing.cpp)

set(APP_SOURCES
  app/frame.cpp
  app/idle.cpp
  app/music.cpp
  app/startup.cpp
  app/steady_clock.cpp
  app/warm_up.cpp)

foreach(layer LOGIC GL AUDIO_DECODE PLATFORM APP)
  list(TRANSFORM ${layer}_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
endforeach()
