# SPDX-License-Identifier: GPL-3.0-or-later
# The rooms of the source tree: each folder is one library, and the build holds it to the rooms
# it declares. A room's files may include headers of their own folder and of the rooms it links,
# nothing else; any other include fails the build, so a dependency can only go where the
# layering allows.
#
#   orbivist_room(net ROOMS os LIBS Qt6::Core PRIVATE_LIBS CURL::libcurl)
#
# builds every .cpp of the current folder (less EXCLUDE, files that form a library of their
# own) into the static library net, linked to the rooms and libraries given.
#
# A room stays free of Qt Gui unless it says GUI: the batch commands run without it, so a room
# that links Qt6::Gui or Qt6::Widgets, or a room that does, fails the build unless marked.

set(ORBIVIST_INCLUDE_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_room_includes.cmake)

function(orbivist_room target)
  cmake_parse_arguments(ARG "GUI" "" "ROOMS;LIBS;PRIVATE_LIBS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${target} STATIC ${sources})
  target_link_libraries(${target} PUBLIC ${ARG_ROOMS} ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  orbivist_room_of(${target} ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT ARG_GUI)
    orbivist_gui_free(${target})
  endif()

  get_target_property(folder ${target} ORBIVIST_ROOM)
  set(allowed ${folder})
  foreach(room ${ARG_ROOMS})
    get_target_property(room_folder ${room} ORBIVIST_ROOM)
    if(NOT room_folder)
      message(FATAL_ERROR "${target} links ${room}, which is not a room")
    endif()
    list(APPEND allowed ${room_folder})
  endforeach()
  # The whole folder is checked, the files of its excluded libraries too.
  file(GLOB checked CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(APPEND checked ${headers})
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_includes.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DROOM=${folder}" "-DALLOWED=${allowed}" "-DFILES=${checked}"
            -P ${ORBIVIST_INCLUDE_CHECK}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${checked} ${ORBIVIST_INCLUDE_CHECK} VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()

# Marks target as a library of the room in directory (a smaller library beside the room's
# main one, such as the parts free of Qt), so that rooms can list it.
function(orbivist_room_of target directory)
  file(RELATIVE_PATH folder ${ORBIVIST_ROOT} ${directory})
  set_target_properties(${target} PROPERTIES ORBIVIST_ROOM ${folder})
endfunction()

# Fails the build when target links Qt Gui or Qt Widgets, itself or through any library of the
# project it links.
function(orbivist_gui_free target)
  set(pending ${target})
  set(seen "")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(current MATCHES "^Qt6::(Gui|Widgets|OpenGL|OpenGLWidgets)$")
      message(FATAL_ERROR "${target} must stay free of Qt Gui, but links ${current}")
    endif()
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(libs ${current} LINK_LIBRARIES)
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    foreach(lib ${libs} ${interface})
      # $<LINK_ONLY:x>, as CMake records a static library's private libraries.
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
      if(lib AND NOT lib MATCHES "-NOTFOUND$" AND NOT lib MATCHES "^\\$<")
        list(APPEND pending ${lib})
      endif()
    endforeach()
  endwhile()
endfunction()
