# Debian's header-only packages for the cross build.
#
# Their headers sit in /usr/include beside the host's C library, so putting
# /usr/include on a MinGW include path would shadow MinGW's own headers. Only
# the package's own folder is exposed, through a link in the build tree.
function(tracciato_header_only_package target folder)
  if(TARGET ${target})
    return()
  endif()
  set(root ${CMAKE_BINARY_DIR}/host-headers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK /usr/include/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
