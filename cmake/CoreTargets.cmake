# Core libraries must stay free of any GUI dependency so that every subsystem
# can be tested (and reused by the headless tools) without a display.
set_property(GLOBAL PROPERTY LUMETRA_CORE_TARGETS "")

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

function(lumetra_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set_property(GLOBAL APPEND PROPERTY LUMETRA_CORE_TARGETS ${name})
endfunction()

# Walks the link interface of every core target and fails the configuration
# when anything from Qt shows up, directly or through another target.
function(_lumetra_collect_links target out)
  set(seen ${${out}})
  if(target IN_LIST seen)
    return()
  endif()
  list(APPEND seen ${target})
  if(TARGET ${target})
    get_target_property(libs ${target} LINK_LIBRARIES)
    get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
    foreach(lib IN LISTS libs ilibs)
      if(lib AND NOT lib MATCHES "NOTFOUND$")
        _lumetra_collect_links(${lib} seen)
      endif()
    endforeach()
  endif()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(lumetra_check_core_targets)
  get_property(targets GLOBAL PROPERTY LUMETRA_CORE_TARGETS)
  foreach(t IN LISTS targets)
    set(all "")
    _lumetra_collect_links(${t} all)
    foreach(lib IN LISTS all)
      if(lib MATCHES "Qt[0-9]*::|Qt[0-9]*[A-Z]|libQt")
        message(FATAL_ERROR "Core target ${t} links ${lib}; the core must not depend on Qt")
      endif()
    endforeach()
  endforeach()
endfunction()
