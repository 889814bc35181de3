# Capture benchmark: CPU time and stream writes of a one-minute capture to WAV.
# A program that prints figures, run by hand under Wine (never by ctest):
#   bash scripts/wine-run.sh build/windows/bench/capture_bench.exe [seconds]
if(WIN32)
  add_executable(capture_bench ${CMAKE_CURRENT_LIST_DIR}/capture_bench.cpp)
  target_link_libraries(capture_bench PRIVATE sfx_wave_win)
endif()
