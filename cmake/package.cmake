# cmake -P script of the `release` target (see release.cmake): lays the
# stripped program out with its Data folder and README.txt, zips that folder,
# builds the installer from it and writes SHA256SUMS beside both.
cmake_minimum_required(VERSION 3.25)

foreach(_v BUILD_DIR STAGE_DIR RESOURCES PROGRAM_NAME VERSION FILE_VERSION NSIS_TARGET MAKENSIS ZIP OBJDUMP PORTABLE_ZIP SETUP_EXE)
  if(NOT DEFINED ${_v} OR "${${_v}}" STREQUAL "")
    message(FATAL_ERROR "package.cmake: ${_v} is not set")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "failed (${_rc}): ${ARGN}")
  endif()
endfunction()

# The folder a user gets, named after the program.
set(_folder "${STAGE_DIR}/${PROGRAM_NAME}")
file(REMOVE_RECURSE "${STAGE_DIR}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${_folder}" --strip
                RESULT_VARIABLE _rc OUTPUT_QUIET)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "installing into ${_folder} failed")
endif()
file(COPY_FILE "${RESOURCES}/portable-readme.txt" "${_folder}/README.txt")

# The program runs on a bare Windows: it may import Windows' own DLLs only.
set(_windows_dlls advapi32 comctl32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi user32
    uxtheme version wininet winmm ws2_32)
execute_process(COMMAND "${OBJDUMP}" -p "${_folder}/${PROGRAM_NAME}.exe" OUTPUT_VARIABLE _headers RESULT_VARIABLE _rc)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" _imports "${_headers}")
if(NOT _rc EQUAL 0 OR NOT _imports)
  message(FATAL_ERROR "cannot read the imports of ${PROGRAM_NAME}.exe")
endif()
foreach(_import IN LISTS _imports)
  string(REGEX REPLACE "^DLL Name: " "" _name "${_import}")
  string(TOLOWER "${_name}" _dll)
  string(REGEX REPLACE "\\.dll$" "" _dll "${_dll}")
  if(NOT _dll IN_LIST _windows_dlls)
    message(FATAL_ERROR "${PROGRAM_NAME}.exe imports ${_name}, which is not part of Windows")
  endif()
endforeach()

get_filename_component(_release_dir "${PORTABLE_ZIP}" DIRECTORY)
file(MAKE_DIRECTORY "${_release_dir}")
file(REMOVE "${PORTABLE_ZIP}" "${SETUP_EXE}" "${_release_dir}/SHA256SUMS")

# -X: no Unix owners or extra times, so the same files make the same zip.
run(${CMAKE_COMMAND} -E chdir "${STAGE_DIR}" "${ZIP}" -q -X -r -9 "${PORTABLE_ZIP}" "${PROGRAM_NAME}")

run("${MAKENSIS}" -V2 -INPUTCHARSET UTF8
  "-DTARGET=${NSIS_TARGET}" "-DVERSION=${VERSION}" "-DFILE_VERSION=${FILE_VERSION}"
  "-DSOURCE=${_folder}" "-DICON=${RESOURCES}/program.ico" "-DOUTFILE=${SETUP_EXE}"
  "${RESOURCES}/setup.nsi")

set(_sums "")
foreach(_file "${PORTABLE_ZIP}" "${SETUP_EXE}")
  file(SHA256 "${_file}" _hash)
  get_filename_component(_name "${_file}" NAME)
  string(APPEND _sums "${_hash}  ${_name}\n")
endforeach()
file(WRITE "${_release_dir}/SHA256SUMS" "${_sums}")
message(STATUS "SHA256SUMS:\n${_sums}")
