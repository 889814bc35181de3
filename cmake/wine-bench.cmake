# The Wine test bench: a private prefix, a virtual display and a sound server
# with a null sink, started once before the Wine tests and stopped after them.
set(SONORAFLUX_WINE_BENCH_DIR ${CMAKE_BINARY_DIR}/wine-bench)
set(SONORAFLUX_WINE_ENV
  "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
  "SONORAFLUX_BENCH=${SONORAFLUX_WINE_BENCH_DIR}"
  "SONORAFLUX_PROGRAM_DIR=${SONORAFLUX_PROGRAM_DIR}"
  "SONORAFLUX_PACKAGE_ZIP=${SONORAFLUX_PACKAGE_ZIP}"
  "SONORAFLUX_E2E_DIR=${SONORAFLUX_E2E_DIR}"
  "WINEDEBUG=-all")
add_test(NAME wine_bench_up
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-bench.sh start ${SONORAFLUX_WINE_BENCH_DIR} ${CMAKE_BINARY_DIR}/wineprefix)
add_test(NAME wine_bench_down
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-bench.sh stop ${SONORAFLUX_WINE_BENCH_DIR} ${CMAKE_BINARY_DIR}/wineprefix)
set_tests_properties(wine_bench_up PROPERTIES FIXTURES_SETUP wine_bench RESOURCE_LOCK wine TIMEOUT 180)
set_tests_properties(wine_bench_down PROPERTIES FIXTURES_CLEANUP wine_bench RESOURCE_LOCK wine TIMEOUT 60)
