# The capture engine natively (scripted device), and under Wine the WAV writer
# over the real mmio functions, the callback window and thread, and a capture
# from the bench's sound server through the real winmm device.
add_library(sfx_wave_scripted STATIC ${CMAKE_CURRENT_LIST_DIR}/wave_scripted_device.cpp)
target_link_libraries(sfx_wave_scripted PUBLIC sfx_wave)

sonoraflux_native_test(audio_wave_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_format_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/wave_audio_in_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/wave_stream_test.cpp
  LIBS sfx_wave_scripted)

# Thread mode with real threads; also the one test of the tsan preset.
if(NOT WIN32)
  find_package(Threads REQUIRED)
  add_library(sfx_wave_threaded STATIC ${CMAKE_CURRENT_LIST_DIR}/wave_threaded_device.cpp)
  target_link_libraries(sfx_wave_threaded PUBLIC sfx_wave Threads::Threads)
endif()
sonoraflux_native_test(audio_wave_thread_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_thread_mode_test.cpp
  LIBS sfx_wave_threaded)

sonoraflux_wine_test(audio_wave_win32_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_writer_win32_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/wave_device_win32_test.cpp
  LIBS sfx_wave_win sfx_wave_scripted sfx_wine_support
  TIMEOUT 240)
