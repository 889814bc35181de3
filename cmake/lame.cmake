# The MP3 encoder: LAME's static library cross-built from Debian's source tree,
# then LAME's own Windows encoder DLL (Dll/ of the same tree) linked against it
# into LAME_ENC.DLL, which Sonoraflux.exe imports by name.
#   lame_enc          link target (the DLL and its import library)
#   lame_enc_dll      stages LAME_ENC.DLL and its licence in the program folder
#   LAME_SOURCE_DIR   the unpacked source tree under SONORAFLUX_CACHE_DIR (read
#                     only: every build step works in the build tree)
include(ExternalProject)

set(LAME_SOURCE_DIR ${SONORAFLUX_CACHE_DIR}/src/lame-3.100)
if(NOT EXISTS ${LAME_SOURCE_DIR}/configure OR NOT EXISTS ${LAME_SOURCE_DIR}/Dll/BladeMP3EncDLL.c)
  message(FATAL_ERROR "The LAME 3.100 sources are missing from ${SONORAFLUX_CACHE_DIR}/src: "
    "run scripts/setup.sh first.")
endif()

set(LAME_HOST x86_64-w64-mingw32)
set(LAME_CC ${LAME_HOST}-gcc-posix)
set(LAME_LIB_BUILD_DIR ${CMAKE_BINARY_DIR}/lame/lib)
set(LAME_STATIC_LIB ${LAME_LIB_BUILD_DIR}/libmp3lame/.libs/libmp3lame.a)

# LAME's configure does not recognise the version text of Debian's MinGW GCC
# ("12-posix") and would then build without any optimisation: give it the
# flags it picks for a GCC it knows. The frontend built for the benchmark
# (bench/mp3.cmake) uses the same configure line so both encode alike.
set(LAME_CFLAGS "-O3 -fomit-frame-pointer -ffast-math -funroll-loops")
set(LAME_CONFIGURE_ARGS --host=${LAME_HOST} --disable-decoder --enable-static --disable-shared
  CC=${LAME_CC} "CFLAGS=${LAME_CFLAGS}")

ExternalProject_Add(lame_static
  SOURCE_DIR ${LAME_SOURCE_DIR}
  BINARY_DIR ${LAME_LIB_BUILD_DIR}
  DOWNLOAD_COMMAND ""
  UPDATE_COMMAND ""
  CONFIGURE_COMMAND ${LAME_SOURCE_DIR}/configure ${LAME_CONFIGURE_ARGS} --disable-frontend --quiet
  BUILD_COMMAND make -C libmp3lame -j2 -s
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${LAME_STATIC_LIB}
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_OUTPUT_ON_FAILURE ON)

add_library(lame_mp3lame STATIC IMPORTED GLOBAL)
set_target_properties(lame_mp3lame PROPERTIES IMPORTED_LOCATION ${LAME_STATIC_LIB})
add_dependencies(lame_mp3lame lame_static)

# The DLL source includes <Windef.h>; the MinGW headers spell it in lower case.
set(LAME_FORWARD_DIR ${CMAKE_BINARY_DIR}/lame/forward)
file(MAKE_DIRECTORY ${LAME_FORWARD_DIR})
file(WRITE ${LAME_FORWARD_DIR}/Windef.h "#include <windef.h>\n")

add_library(lame_enc SHARED
  ${LAME_SOURCE_DIR}/Dll/BladeMP3EncDLL.c
  ${LAME_SOURCE_DIR}/Dll/BladeMP3EncDLL.def)
set_target_properties(lame_enc PROPERTIES
  PREFIX ""
  OUTPUT_NAME LAME_ENC
  SUFFIX ".DLL"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lame/dll
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lame/dll)
target_include_directories(lame_enc PRIVATE
  ${LAME_FORWARD_DIR} ${LAME_SOURCE_DIR}/include ${LAME_SOURCE_DIR}/libmp3lame)
# Third-party code: its own warnings are not ours to fix.
target_compile_options(lame_enc PRIVATE -w -O2)
target_link_libraries(lame_enc PRIVATE lame_mp3lame)

set(LAME_ENC_DLL $<TARGET_FILE:lame_enc>)
set(LAME_LICENCE ${LAME_SOURCE_DIR}/COPYING)

# A program that imports the encoder library at load time finds it only beside
# itself: each test or benchmark that links it gets a copy after every link.
function(sonoraflux_encoder_beside target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:lame_enc> $<TARGET_FILE_DIR:${target}>/LAME_ENC.DLL
    VERBATIM)
endfunction()

add_custom_target(lame_enc_dll
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SONORAFLUX_PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LAME_ENC_DLL} ${SONORAFLUX_PROGRAM_DIR}/LAME_ENC.DLL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LAME_LICENCE} ${SONORAFLUX_PROGRAM_DIR}/LAME_ENC-LICENCE.txt
  DEPENDS lame_enc
  COMMENT "Staging LAME_ENC.DLL and its licence in the program folder"
  VERBATIM)
