# The PNG decoder: libpng's C files from Debian's source tree built directly
# as a static library with our cross compiler, over the MinGW zlib of Debian's
# libz-mingw-w64-dev.
#   png_static        link target (libpng + zlib, include directories public)
#   PNG_SOURCE_DIR    the unpacked source tree under SONORAFLUX_CACHE_DIR (read
#                     only: the configuration header is generated into the
#                     build tree)
file(GLOB PNG_SOURCE_DIRS LIST_DIRECTORIES true ${SONORAFLUX_CACHE_DIR}/src/libpng-1.6.*)
list(SORT PNG_SOURCE_DIRS)
list(POP_BACK PNG_SOURCE_DIRS PNG_SOURCE_DIR)
if(NOT PNG_SOURCE_DIR OR NOT EXISTS ${PNG_SOURCE_DIR}/png.c
    OR NOT EXISTS ${PNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt)
  message(FATAL_ERROR "The libpng 1.6 sources are missing from ${SONORAFLUX_CACHE_DIR}/src: "
    "run scripts/setup.sh first.")
endif()

find_library(PNG_ZLIB_LIBRARY NAMES libz.a z REQUIRED)
find_path(PNG_ZLIB_INCLUDE_DIR zlib.h REQUIRED)

# The library's stock configuration (every reader and writer feature, no
# platform-specific vector code).
set(PNG_CONFIG_DIR ${CMAKE_BINARY_DIR}/libpng)
configure_file(${PNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt ${PNG_CONFIG_DIR}/pnglibconf.h COPYONLY)

set(PNG_SOURCES "")
foreach(file png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
    pngtrans pngwio pngwrite pngwtran pngwutil)
  list(APPEND PNG_SOURCES ${PNG_SOURCE_DIR}/${file}.c)
endforeach()

add_library(png_static STATIC ${PNG_SOURCES})
target_include_directories(png_static SYSTEM PUBLIC ${PNG_CONFIG_DIR} ${PNG_SOURCE_DIR} ${PNG_ZLIB_INCLUDE_DIR})
# Third-party code: its own warnings are not ours to fix.
target_compile_options(png_static PRIVATE -w -O2)
target_compile_definitions(png_static PRIVATE PNG_ARM_NEON_OPT=0 PNG_POWERPC_VSX_OPT=0 PNG_INTEL_SSE_OPT=0)
target_link_libraries(png_static PUBLIC ${PNG_ZLIB_LIBRARY})
