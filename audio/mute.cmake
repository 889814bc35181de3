# The master mute through the mixer.
add_library(sfx_mute STATIC ${CMAKE_CURRENT_LIST_DIR}/mute.cpp)
if(WIN32)
  add_library(sfx_mute_win STATIC ${CMAKE_CURRENT_LIST_DIR}/mute_win32.cpp)
  target_link_libraries(sfx_mute_win PUBLIC sfx_mute delay_winmm)
endif()
