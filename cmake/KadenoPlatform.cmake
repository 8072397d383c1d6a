# A platform library lets itself and whoever links it include its headers as
# "<folder>/Header.h", and reaches no other platform folder but those it links: its include
# root is a folder in the build tree holding one link, to its own sources. (Exporting
# src/platform itself would let any adapter include any other.)
function(kadeno_platform_includes target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/platform-include/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
