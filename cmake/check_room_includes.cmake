# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DROOM=folder -DALLOWED="folders" -DFILES="files" -P check_room_includes.cmake
# Fails when one of FILES includes a header of a folder outside ALLOWED.
cmake_minimum_required(VERSION 3.25)
set(bad "")
foreach(file ${FILES})
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
    get_filename_component(folder "${header}" DIRECTORY)
    if(folder STREQUAL "" OR folder IN_LIST ALLOWED)
      continue()
    endif()
    string(APPEND bad "\n  ${file}: ${header}")
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "${ROOM} may include only its own headers and those of ${ALLOWED}:${bad}")
endif()
