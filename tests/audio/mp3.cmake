# MP3 coder: natively against a scripted encoder and files in memory; under
# Wine against LAME_ENC.DLL, with the result decoded by Debian's lame.
sonoraflux_native_test(audio_mp3_coder_test
  SOURCES mp3_coder_settings_test.cpp mp3_coder_process_test.cpp
  LIBS sfx_mp3)

sonoraflux_wine_test(audio_mp3_coder_wine_test
  SOURCES mp3_coder_wine_test.cpp
  LIBS sfx_mp3_win sfx_wine_support)
if(TARGET audio_mp3_coder_wine_test)
  # The program imports the encoder library at load time: it must sit beside it.
  add_custom_command(TARGET audio_mp3_coder_wine_test POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:lame_enc>
            $<TARGET_FILE_DIR:audio_mp3_coder_wine_test>/LAME_ENC.DLL
    VERBATIM)
endif()
