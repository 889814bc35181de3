# Start benchmark: process start -> tray icon visible, and the private bytes
# at rest, of Sonoraflux as shipped (and as built, with its debug
# information) beside the smallest tray program (built here), in alternating
# blocks; run by hand under Wine (never by ctest):
#   bash scripts/wine-run.sh build/windows/bench/start_bench.exe
if(WIN32)
  add_executable(smallest_tray WIN32 ${CMAKE_CURRENT_LIST_DIR}/smallest_tray.cpp)
  target_link_libraries(smallest_tray PRIVATE shell32)
  add_executable(start_bench ${CMAKE_CURRENT_LIST_DIR}/start_bench.cpp)
  target_link_libraries(start_bench PRIVATE shell32 psapi)
  target_compile_definitions(start_bench PRIVATE
    SMALLEST_TRAY_EXE="$<TARGET_FILE:smallest_tray>" SONORAFLUX_EXE="$<TARGET_FILE:Sonoraflux>"
    SHIPPED_EXE="${SONORAFLUX_SHIPPED_EXE}")
  add_dependencies(start_bench smallest_tray Sonoraflux package_zip)
endif()
# Where the start goes, step by step, in this process; it sits in the staged
# program folder, beside the encoder library, and starts on that folder:
#   bash scripts/wine-run.sh build/windows/Sonoraflux/start_steps_bench.exe
if(WIN32)
  add_executable(start_steps_bench ${CMAKE_CURRENT_LIST_DIR}/start_steps_bench.cpp)
  target_link_libraries(start_steps_bench PRIVATE sfx_app_win sfx_resources)
  set_target_properties(start_steps_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SONORAFLUX_PROGRAM_DIR})
  add_dependencies(start_steps_bench program_folder)
endif()
