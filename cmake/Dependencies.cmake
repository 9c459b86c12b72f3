# Third-party libraries for the target. Sources come from Debian's source
# packages (unpacked by scripts/fetch-sources.sh into the build tree) and from
# Debian's MinGW and GoogleTest packages; nothing third-party lives in the repo.
include(ExternalProject)

set(DEPS_SOURCE_DIR ${CMAKE_BINARY_DIR}/_deps/src)
if(NOT EXISTS ${DEPS_SOURCE_DIR}/minizip/.unpacked OR NOT EXISTS ${DEPS_SOURCE_DIR}/libjpeg-turbo/.unpacked)
  message(STATUS "Fetching Debian source packages into ${DEPS_SOURCE_DIR}")
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-sources.sh ${DEPS_SOURCE_DIR}
                  RESULT_VARIABLE fetch_result)
  if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Could not fetch the source packages (see above).")
  endif()
endif()

# zlib: Debian's MinGW package, linked statically.
find_library(ZLIB_STATIC NAMES libz.a REQUIRED)
find_path(ZLIB_INCLUDE NAMES zlib.h REQUIRED)
add_library(zlib STATIC IMPORTED GLOBAL)
set_target_properties(zlib PROPERTIES IMPORTED_LOCATION ${ZLIB_STATIC}
                                      INTERFACE_INCLUDE_DIRECTORIES ${ZLIB_INCLUDE})

# minizip: the unzip and zip interfaces with the Win32 file layer.
set(MINIZIP_DIR ${DEPS_SOURCE_DIR}/minizip)
add_library(minizip STATIC
  ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/zip.c
  ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_DIR})
target_compile_definitions(minizip PUBLIC NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC zlib)

# libjpeg-turbo: the decoder for the window's pictures, as a static library.
# Built for size: the window decodes a few small pictures once, in about 3 ms
# this way against 1 ms with the SIMD code, which would add some 100 KB (its
# dispatcher pulls in the encoder's routines too). Functions in sections of
# their own and no unwind tables (C code, left with longjmp) let the linker
# drop what the decoder never calls; no JPEGMEM variable, and the system C
# library's printf for its messages rather than MinGW's own.
set(JPEG_C_FLAGS "-ffunction-sections -fno-asynchronous-unwind-tables -fno-unwind-tables -DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0")
set(JPEG_SOURCE_DIR ${DEPS_SOURCE_DIR}/libjpeg-turbo)
set(JPEG_BINARY_DIR ${CMAKE_BINARY_DIR}/_deps/libjpeg-build)
ExternalProject_Add(libjpeg_build
  SOURCE_DIR ${JPEG_SOURCE_DIR}
  BINARY_DIR ${JPEG_BINARY_DIR}
  CMAKE_GENERATOR Ninja
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${JPEG_BINARY_DIR}/unused-install
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF
    -DCMAKE_C_FLAGS=${JPEG_C_FLAGS} "-DCMAKE_C_FLAGS_RELEASE=-Os -DNDEBUG"
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${JPEG_BINARY_DIR}/libjpeg.a)
file(MAKE_DIRECTORY ${JPEG_BINARY_DIR})
add_library(jpeg STATIC IMPORTED GLOBAL)
set_target_properties(jpeg PROPERTIES
  IMPORTED_LOCATION ${JPEG_BINARY_DIR}/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES "${JPEG_SOURCE_DIR};${JPEG_BINARY_DIR}")
add_dependencies(jpeg libjpeg_build)

# GoogleTest, cross-built from Debian's sources.
if(INSTALLER_BUILD_TESTS)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
endif()
