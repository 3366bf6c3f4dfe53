# Fails when a source includes a header of a layer above its own, or of
# another tool's folder. Run at every build (the "layers" target):
#   cmake -DROOT=<source dir> -P cmake/check_layers.cmake
# Layers, lowest first: platform (the interfaces, path rules and cp1251,
# which include nothing of the project outside themselves), store, ui,
# search, the tools (one folder each, never including one another), app.
# Beside app stand the two ways the program is put together: win32 (the
# Windows implementation, the renderer of the widget model and the entry)
# and posix (the stand-in and the headless backend). They use the
# interfaces, the store and the widget model; nothing else includes them,
# and neither includes the other. Only the entry (win32/winmain.cpp) sees
# the program itself.
cmake_policy(SET CMP0057 NEW)
set(rank_platform 0)
set(rank_store 1)
set(rank_ui 2)
set(rank_search 3)
set(tools junk shortcuts emptydirs duplicates registry privacy removal startup)
foreach(tool IN LISTS tools)
  set(rank_${tool} 4)
endforeach()
set(rank_app 5)
set(implementations win32 posix)

function(layer_of path out_layer)
  string(REGEX MATCH "^[a-z0-9]+" top "${path}")
  if(top IN_LIST implementations OR DEFINED rank_${top})
    set(${out_layer} "${top}" PARENT_SCOPE)
  else()
    set(${out_layer} "" PARENT_SCOPE)
  endif()
endfunction()

set(sources "")
foreach(folder platform store ui search app win32 posix ${tools})
  file(GLOB_RECURSE more RELATIVE "${ROOT}" "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  list(APPEND sources ${more})
endforeach()
# The program's entry point sits above everything.
list(FILTER sources EXCLUDE REGEX "/tests/|/demo/|/bench/|^win32/winmain\\.cpp$")

set(errors "")
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  file(STRINGS "${ROOT}/${source}" includes REGEX "^#include \"[a-z0-9]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    layer_of("${header}" to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()
    endif()
    if(from IN_LIST implementations)
      if(to STREQUAL "platform" OR to STREQUAL "ui" OR to STREQUAL "store")
        continue()
      endif()
    elseif(NOT to IN_LIST implementations AND rank_${to} LESS rank_${from})
      continue()
    endif()
    string(APPEND errors "  ${source} (${from}) includes ${header} (${to})\n")
  endforeach()
endforeach()

if(errors)
  message(FATAL_ERROR "Includes that point up or across the layers:\n${errors}")
endif()
