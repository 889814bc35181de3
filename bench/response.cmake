# Responsiveness while encoding: the longest a message waits for the
# user-interface thread while it encodes a minute of stereo to MP3, run by
# hand under Wine (never by ctest):
#   bash scripts/wine-run.sh build/windows/bench/encode_response_bench.exe
if(WIN32 AND TARGET lame_enc)
  add_executable(encode_response_bench ${CMAKE_CURRENT_LIST_DIR}/encode_response_bench.cpp)
  target_link_libraries(encode_response_bench PRIVATE sfx_mp3_win sfx_win)
  sonoraflux_encoder_beside(encode_response_bench)
endif()
