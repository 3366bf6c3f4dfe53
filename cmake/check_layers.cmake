# Fails when a source includes a header of a layer above its own, or of
# another tool's folder. Run at every build (the "layers" target):
#   cmake -DROOT=<source dir> -P cmake/check_layers.cmake
# Layers, lowest first: platform (the interfaces), store, ui, search, the
# tools (one folder each, never including one another), app. The
# implementations in posix and win32 may use the
# interfaces and the widget model they render.
set(rank_platform 0)
set(rank_store 1)
set(rank_ui 2)
set(rank_search 3)
set(tools junk shortcuts emptydirs duplicates registry privacy removal startup)
foreach(tool IN LISTS tools)
  set(rank_${tool} 4)
endforeach()
set(rank_app 5)

function(layer_of path out_layer)
  string(REGEX MATCH "^[a-z]+" top "${path}")
  if(path MATCHES "^platform/(posix|win32)/")
    set(${out_layer} "impl" PARENT_SCOPE)
  elseif(DEFINED rank_${top})
    set(${out_layer} "${top}" PARENT_SCOPE)
  else()
    set(${out_layer} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${ROOT}"
  "${ROOT}/platform/*.h" "${ROOT}/platform/*.cpp" "${ROOT}/store/*" "${ROOT}/ui/*" "${ROOT}/search/*"
  "${ROOT}/app/*.h" "${ROOT}/app/*.cpp")
foreach(tool IN LISTS tools)
  file(GLOB_RECURSE more RELATIVE "${ROOT}" "${ROOT}/${tool}/*.h" "${ROOT}/${tool}/*.cpp")
  list(APPEND sources ${more})
endforeach()
# The program's entry point sits above everything.
list(FILTER sources EXCLUDE REGEX "/tests/|/demo/|/bench/|^win32/winmain\\.cpp$")

set(errors "")
foreach(source IN LISTS sources)
  layer_of("${source}" from)
  if(from STREQUAL "")
    continue()
  endif()
  file(STRINGS "${ROOT}/${source}" includes REGEX "^#include \"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    layer_of("${header}" to)
    if(to STREQUAL "" OR to STREQUAL from)
      continue()
    endif()
    if(from STREQUAL "impl")
      # The implementations see the interfaces, the store and the widget model.
      if(to STREQUAL "platform" OR to STREQUAL "ui" OR to STREQUAL "store")
        continue()
      endif()
    elseif(NOT to STREQUAL "impl" AND rank_${to} LESS rank_${from})
      continue()
    endif()
    string(APPEND errors "  ${source} (${from}) includes ${header} (${to})\n")
  endforeach()
endforeach()

if(errors)
  message(FATAL_ERROR "Includes that point up or across the layers:\n${errors}")
endif()
