# Wave capture: the platform-free engine (formats, buffer cycle, states) and,
# for Windows, the winmm device, its callback window or thread, the WAV writer
# over the mmio functions and the recorder component.
add_library(sfx_wave STATIC
  ${CMAKE_CURRENT_LIST_DIR}/wave_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_audio_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_audio_in.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_stream.cpp)

if(WIN32)
  add_library(sfx_wave_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/wave_device_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wave_file_writer_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wave_file_stream_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture_to_file_win32.cpp)
  target_link_libraries(sfx_wave_win PUBLIC sfx_wave sfx_win delay_winmm)
endif()
