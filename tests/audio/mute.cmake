sonoraflux_native_test(audio_mute_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mute_test.cpp LIBS sfx_mute)
sonoraflux_wine_test(audio_mute_win32_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/mute_win32_test.cpp LIBS sfx_mute_win)
