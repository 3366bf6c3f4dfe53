# vorlinde_add_test(NAME SOURCES... LIBS...): one GoogleTest program whose cases
# ctest lists one by one, each named with this tree's prefix (native., asan.,
# wine.). Windows test programs are discovered and run under Wine through the
# toolchain's emulator.
enable_testing()
include(GoogleTest)

function(vorlinde_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # Under Wine the source tree is reached through drive Z:.
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(_data "Z:${PROJECT_SOURCE_DIR}/tests/data")
  else()
    set(_data "${PROJECT_SOURCE_DIR}/tests/data")
  endif()
  target_compile_definitions(${name} PRIVATE VORLINDE_TEST_DATA="${_data}")
  # Windows tests share one Wine prefix (its registry, TEMP and recycle bin):
  # they run one at a time, beside the native ones.
  if(WIN32)
    set(_lock RESOURCE_LOCK wine_prefix)
  endif()
  gtest_discover_tests(${name}
    TEST_PREFIX "${VORLINDE_TEST_PREFIX}"
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 LABELS "${VORLINDE_TEST_PREFIX}" ${_lock})
endfunction()
