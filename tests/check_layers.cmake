# Fails when a file of src/ includes a header that its layer may not see.
#
# The layers, lowest first; a file may include every header of its own layer and the
# layers below it:
#   platform  src/platform          our stand-ins for what Windows and DirectX provided
#   shell     src/shell             the shell's services (all of it but the program run)
#   engine    src/engine
#   world     src/world
#   player    src/player
#   campaign  src/campaign
#   frontend  src/frontend
#   run       src/run               the program run: it starts and resets everything, so it
#                                   sits on top
#
# From a higher layer a file may include state headers only: "<name>_state.hpp", holding
# globals, records and the plain writes to them (their resets, a ticker line appended),
# never a procedure that runs, draws, plays or loads. A state header itself includes only
# state headers, the shell's services and the platform, so reading one pulls in nothing
# that runs above its reader.
set(LAYERS platform shell engine world player campaign frontend run)

# The layer of a path below src/ ("" for a path outside the game's folders).
function(layer_of path out)
  set(layer "")
  if(path MATCHES "^([a-z]+)/")
    list(FIND LAYERS "${CMAKE_MATCH_1}" i)
    if(i GREATER_EQUAL 0)
      set(layer ${CMAKE_MATCH_1})
    endif()
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

set(bad "")
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.hpp ${SOURCE_DIR}/src/*.h)
list(FIND LAYERS shell shell_rank)
foreach(f ${files})
  layer_of("${f}" from)
  list(FIND LAYERS "${from}" from_rank)
  file(STRINGS ${SOURCE_DIR}/src/${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" target "${line}")
    layer_of("${target}" to)
    if(to STREQUAL "")
      continue()
    endif()
    list(FIND LAYERS "${to}" to_rank)
    set(state FALSE)
    if(target MATCHES "_state\\.hpp$")
      set(state TRUE)
    endif()
    if(to_rank GREATER from_rank AND NOT state)
      string(APPEND bad "src/${f}: ${target} is a service of ${to}, above ${from}\n")
    elseif(f MATCHES "_state\\.hpp$" AND NOT state AND to_rank GREATER shell_rank)
      string(APPEND bad "src/${f}: a state header includes the service header ${target}\n")
    endif()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "Includes across the layers:\n${bad}")
endif()
message(STATUS "every include keeps to the layers")
