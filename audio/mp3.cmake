# MP3 encoding: the platform-free coder and, for Windows, its services over
# LAME_ENC.DLL, the file system and the message queue.
add_library(sfx_mp3 STATIC mp3_coder.cpp)
target_include_directories(sfx_mp3 PUBLIC ${CMAKE_SOURCE_DIR})

if(WIN32)
  add_library(sfx_mp3_win STATIC mp3_coder_win32.cpp)
  target_link_libraries(sfx_mp3_win PUBLIC sfx_mp3 sfx_wave_win sfx_win lame_enc)
endif()
