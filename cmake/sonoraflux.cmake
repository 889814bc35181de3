# Helpers shared by every folder's CMakeLists.txt.

# GoogleTest from Debian's sources, built with our compiler (and sanitizers),
# so the same code serves the native and the MinGW build.
macro(sonoraflux_add_googletest)
  set(gtest_src /usr/src/googletest)
  if(NOT EXISTS ${gtest_src}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources missing: run scripts/setup.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${gtest_src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  include(GoogleTest)
endmacro()

# sonoraflux_native_test(name SOURCES ... LIBS ...): a GoogleTest program of
# platform-free code, run natively (only in the native build).
function(sonoraflux_native_test name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)
endfunction()

# sonoraflux_wine_test(name SOURCES ... LIBS ... [TIMEOUT s]): a GoogleTest
# program built for Windows and run under Wine, one at a time, on the bench
# (virtual display, sound server, private prefix) that the wine_bench fixture provides.
function(sonoraflux_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_bench
    RESOURCE_LOCK wine
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${SONORAFLUX_WINE_ENV}")
  if(TARGET program_folder)
    add_dependencies(${name} program_folder)
  endif()
endfunction()
