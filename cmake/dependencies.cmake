# libjpeg, SQLite and GoogleTest for both sides.
#
# Native (and a build on Windows itself): the installed libjpeg-turbo, SQLite
# and GoogleTest packages.
# Cross-built for Windows: libjpeg-turbo and SQLite built once, statically,
# from Debian's source packages (fetched by scripts/setup.sh, which also makes
# SQLite's one-file source) into a cache outside the source tree; GoogleTest
# built from Debian's sources in /usr/src/googletest.

if(NOT CMAKE_CROSSCOMPILING)
  find_package(JPEG REQUIRED)
  find_package(SQLite3 REQUIRED)
  find_package(GTest REQUIRED)
  return()
endif()

set(VORLINDE_CACHE "$ENV{HOME}/.cache/vorlinde" CACHE PATH "Cache of built third-party libraries")
file(GLOB _jpeg_tarballs "${VORLINDE_CACHE}/jpeg-src/libjpeg-turbo_*.orig.tar.gz")
if(NOT _jpeg_tarballs)
  message(FATAL_ERROR "libjpeg-turbo sources missing in ${VORLINDE_CACHE}/jpeg-src: run scripts/setup.sh")
endif()
list(GET _jpeg_tarballs 0 _jpeg_tarball)
get_filename_component(_jpeg_name "${_jpeg_tarball}" NAME)
string(REGEX REPLACE "^libjpeg-turbo_(.*)\\.orig\\.tar\\.gz$" "\\1" _jpeg_version "${_jpeg_name}")
set(_jpeg_root "${VORLINDE_CACHE}/libjpeg-turbo-${_jpeg_version}-${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32")

file(LOCK "${VORLINDE_CACHE}/jpeg.lock")
if(NOT EXISTS "${_jpeg_root}/lib/libjpeg.a")
  message(STATUS "Building libjpeg-turbo ${_jpeg_version} for ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32 into ${_jpeg_root}")
  set(_work "${_jpeg_root}.work")
  file(REMOVE_RECURSE "${_work}")
  file(MAKE_DIRECTORY "${_work}")
  file(ARCHIVE_EXTRACT INPUT "${_jpeg_tarball}" DESTINATION "${_work}")
  file(GLOB _jpeg_src LIST_DIRECTORIES true "${_work}/libjpeg-turbo-*")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${_jpeg_src}" -B "${_work}/build" -G Ninja
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_CROSSCOMPILING_EMULATOR=
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=${_jpeg_root}
      -DWITH_SIMD=0 -DENABLE_SHARED=0 -DWITH_TURBOJPEG=0 -DWITH_JAVA=0
    RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
  if(_rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --build "${_work}/build" --target install
                    RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(NOT _rc EQUAL 0 OR NOT EXISTS "${_jpeg_root}/lib/libjpeg.a")
    message(FATAL_ERROR "Building libjpeg-turbo for Windows failed (see ${_work})")
  endif()
  file(REMOVE_RECURSE "${_work}")
endif()
file(LOCK "${VORLINDE_CACHE}/jpeg.lock" RELEASE)

add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
  IMPORTED_LOCATION "${_jpeg_root}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_jpeg_root}/include")

file(GLOB _sqlite_sources "${VORLINDE_CACHE}/sqlite-*/sqlite3.c")
if(NOT _sqlite_sources)
  message(FATAL_ERROR "SQLite's one-file source missing in ${VORLINDE_CACHE}/sqlite-*: run scripts/setup.sh")
endif()
list(GET _sqlite_sources 0 _sqlite_source)
get_filename_component(_sqlite_src_dir "${_sqlite_source}" DIRECTORY)
get_filename_component(_sqlite_name "${_sqlite_src_dir}" NAME)
set(_sqlite_root "${VORLINDE_CACHE}/${_sqlite_name}-${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32")

# One thread and no extensions loaded from DLLs: the program opens the
# browsers' databases itself and nothing else.
file(LOCK "${VORLINDE_CACHE}/sqlite.lock")
if(NOT EXISTS "${_sqlite_root}/lib/libsqlite3.a")
  message(STATUS "Building ${_sqlite_name} for ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32 into ${_sqlite_root}")
  set(_work "${_sqlite_root}.work")
  file(REMOVE_RECURSE "${_work}")
  file(MAKE_DIRECTORY "${_work}")
  execute_process(
    COMMAND ${CMAKE_C_COMPILER} -O2 -DSQLITE_THREADSAFE=0 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_DEFAULT_FOREIGN_KEYS=0
      -c "${_sqlite_source}" -o "${_work}/sqlite3.o"
    RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
  if(_rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_AR} rcs "${_work}/libsqlite3.a" "${_work}/sqlite3.o" RESULT_VARIABLE _rc)
  endif()
  if(NOT _rc EQUAL 0 OR NOT EXISTS "${_work}/libsqlite3.a")
    message(FATAL_ERROR "Building SQLite for Windows failed (see ${_work})")
  endif()
  file(MAKE_DIRECTORY "${_sqlite_root}/lib" "${_sqlite_root}/include")
  file(COPY "${_sqlite_src_dir}/sqlite3.h" DESTINATION "${_sqlite_root}/include")
  file(RENAME "${_work}/libsqlite3.a" "${_sqlite_root}/lib/libsqlite3.a")
  file(REMOVE_RECURSE "${_work}")
endif()
file(LOCK "${VORLINDE_CACHE}/sqlite.lock" RELEASE)

add_library(SQLite::SQLite3 STATIC IMPORTED GLOBAL)
set_target_properties(SQLite::SQLite3 PROPERTIES
  IMPORTED_LOCATION "${_sqlite_root}/lib/libsqlite3.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_sqlite_root}/include")

# GoogleTest from Debian's sources; built without -Werror and without our charset.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(_t gtest gtest_main gmock gmock_main)
  if(TARGET ${_t})
    target_compile_options(${_t} PRIVATE -Wno-error -fexec-charset=UTF-8)
  endif()
endforeach()
