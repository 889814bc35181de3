# MP3 coder: natively against a scripted encoder and files in memory; under
# Wine against LAME_ENC.DLL, with the result decoded by Debian's lame.
sonoraflux_native_test(audio_mp3_coder_test
  SOURCES mp3_coder_settings_test.cpp mp3_coder_process_test.cpp
  LIBS sfx_mp3)

sonoraflux_wine_test(audio_mp3_coder_win32_test
  SOURCES mp3_coder_win32_test.cpp
  LIBS sfx_mp3_win sfx_wine_support)
if(TARGET audio_mp3_coder_win32_test)
  sonoraflux_encoder_beside(audio_mp3_coder_win32_test)
endif()
