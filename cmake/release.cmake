# The release packages of the Windows program, made in <build tree>/release by
# the `release` target (scripts/release.sh) from this tree's optimised build,
# stripped:
#   vorlinde-system-cleaner-<version>-portable-<arch>.zip  the program with its Data folder and README.txt
#   vorlinde-system-cleaner-<version>-setup-<arch>.exe     the NSIS installer
#   SHA256SUMS
# and the Wine tests that install, start and uninstall them (wine.release.*),
# each run in a prefix of their own.
find_program(MAKENSIS_PROGRAM makensis)
find_program(ZIP_PROGRAM zip)
if(NOT MAKENSIS_PROGRAM OR NOT ZIP_PROGRAM)
  message(STATUS "makensis or zip not found: no release target (scripts/setup.sh installs nsis and zip)")
  return()
endif()

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(_arch x64)
else()
  set(_arch x86)
endif()
set(_base "vorlinde-system-cleaner-${VORLINDE_VERSION_TEXT}")
set(VORLINDE_PORTABLE_ZIP "${CMAKE_BINARY_DIR}/release/${_base}-portable-${_arch}.zip")
set(VORLINDE_SETUP_EXE "${CMAKE_BINARY_DIR}/release/${_base}-setup-${_arch}.exe")

add_custom_target(release
  COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${CMAKE_BINARY_DIR}
    -DSTAGE_DIR=${CMAKE_BINARY_DIR}/release-stage
    -DRESOURCES=${PROJECT_SOURCE_DIR}/app/resources
    -DPROGRAM_NAME=${PROGRAM_NAME}
    -DVERSION=${VORLINDE_VERSION_TEXT}
    -DFILE_VERSION=${VORLINDE_FILE_VERSION}
    -DNSIS_TARGET=$<IF:$<STREQUAL:${_arch},x64>,amd64-unicode,x86-unicode>
    -DMAKENSIS=${MAKENSIS_PROGRAM}
    -DZIP=${ZIP_PROGRAM}
    -DOBJDUMP=${CMAKE_OBJDUMP}
    -DPORTABLE_ZIP=${VORLINDE_PORTABLE_ZIP}
    -DSETUP_EXE=${VORLINDE_SETUP_EXE}
    -P ${PROJECT_SOURCE_DIR}/cmake/package.cmake
  DEPENDS program
  COMMENT "Packaging ${PROGRAM_NAME} ${VORLINDE_VERSION_TEXT} into ${CMAKE_BINARY_DIR}/release"
  VERBATIM)

# The Wine tests of the packages; the packages come from the release target,
# which scripts/test.sh builds before the tests.
add_executable(release_tests win32/tests/release/package_test.cpp)
target_link_libraries(release_tests PRIVATE GTest::gtest GTest::gtest_main ole32 shell32 advapi32 uuid)
target_compile_definitions(release_tests PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
  VORLINDE_SHIPPED_DATA="Z:${PROJECT_SOURCE_DIR}/data")

set(_driver "${PROJECT_SOURCE_DIR}/scripts/release-test")
set(_prefix "${CMAKE_BINARY_DIR}/release-prefix")
set(_t "${VORLINDE_TEST_PREFIX}release")
add_test(NAME ${_t}.prefix COMMAND ${_driver} fresh ${_prefix})
add_test(NAME ${_t}.installer COMMAND ${_driver} installer ${_prefix} $<TARGET_FILE:release_tests> ${VORLINDE_SETUP_EXE})
add_test(NAME ${_t}.portable COMMAND ${_driver} portable ${_prefix} $<TARGET_FILE:release_tests> ${VORLINDE_PORTABLE_ZIP})
add_test(NAME ${_t}.stop COMMAND ${_driver} stop ${_prefix})
set_tests_properties(${_t}.prefix ${_t}.installer ${_t}.portable ${_t}.stop PROPERTIES
  RESOURCE_LOCK release_prefix LABELS "${VORLINDE_TEST_PREFIX}" TIMEOUT 240)
set_tests_properties(${_t}.prefix PROPERTIES FIXTURES_SETUP release_prefix)
set_tests_properties(${_t}.installer ${_t}.portable PROPERTIES FIXTURES_REQUIRED release_prefix)
set_tests_properties(${_t}.stop PROPERTIES FIXTURES_CLEANUP release_prefix)
