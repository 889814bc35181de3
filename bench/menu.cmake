# Tray menu benchmark: loading the list and rebuilding "Ma liste" for 100 and
# 10,000 entries with icons, and the GDI objects left after 1,000 rebuilds.
# A program that prints figures, run by hand under Wine (never by ctest):
#   bash scripts/wine-run.sh build/windows/bench/menu_bench.exe
if(WIN32)
  add_executable(menu_bench ${CMAKE_CURRENT_LIST_DIR}/menu_bench.cpp)
  target_link_libraries(menu_bench PRIVATE sfx_tray_win sfx_ui_win sfx_win sfx_resources)
endif()
