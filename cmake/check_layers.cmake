# Fails when a source file of the component includes a header from a layer
# above its own, or anything outside the component but the public headers.
# Run as: cmake -DSOURCE_DIR=<project root> -P cmake/check_layers.cmake
#
# The layers, lowest first; a file may include from its own layer and the
# ones before it.
set(LAYERS geometry component curves scan area driver)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_layers: set SOURCE_DIR to the project root")
endif()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults "")
foreach(file ${files})
  string(REGEX MATCH "^[^/]+" layer ${file})
  list(FIND LAYERS ${layer} rank)
  if(rank EQUAL -1)
    string(APPEND faults "\n  src/${file}: folder ${layer} is in no layer")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/src/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      string(APPEND faults "\n  src/${file}: \"${header}\" names no folder")
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" target ${header})
    if(target STREQUAL "pphatch")
      continue()
    endif()
    list(FIND LAYERS ${target} target_rank)
    if(target_rank EQUAL -1)
      string(APPEND faults "\n  src/${file}: includes ${header} from outside the component")
    elseif(target_rank GREATER rank)
      string(APPEND faults "\n  src/${file}: includes ${header} from the layer above it (${target})")
    endif()
  endforeach()
endforeach()

if(faults)
  string(REPLACE ";" " < " order "${LAYERS}")
  message(FATAL_ERROR "includes against the layer order (${order}):${faults}")
endif()
