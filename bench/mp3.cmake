# MP3 benchmark: TMP3Coder over LAME_ENC.DLL against LAME's own command-line
# frontend, cross-built from the same source tree with the same configure line.
# Both built on demand only: run bench/mp3_bench.sh.
if(NOT WIN32 OR NOT TARGET lame_enc)
  return()
endif()

set(LAME_FRONTEND_BUILD_DIR ${CMAKE_BINARY_DIR}/lame/frontend)
ExternalProject_Add(lame_frontend
  SOURCE_DIR ${LAME_SOURCE_DIR}
  BINARY_DIR ${LAME_FRONTEND_BUILD_DIR}
  DOWNLOAD_COMMAND ""
  UPDATE_COMMAND ""
  CONFIGURE_COMMAND ${LAME_SOURCE_DIR}/configure ${LAME_CONFIGURE_ARGS} --quiet
  BUILD_COMMAND make -j2 -s
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${LAME_FRONTEND_BUILD_DIR}/frontend/lame.exe
  EXCLUDE_FROM_ALL TRUE
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_OUTPUT_ON_FAILURE ON)

add_executable(bench_mp3_coder EXCLUDE_FROM_ALL mp3_coder_bench.cpp)
target_link_libraries(bench_mp3_coder PRIVATE sfx_mp3_win)
add_dependencies(bench_mp3_coder lame_frontend)
sonoraflux_encoder_beside(bench_mp3_coder)
add_custom_command(TARGET bench_mp3_coder POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LAME_FRONTEND_BUILD_DIR}/frontend/lame.exe
          $<TARGET_FILE_DIR:bench_mp3_coder>/lame.exe
  VERBATIM)
