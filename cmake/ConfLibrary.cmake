# One static library from every *.cpp of the calling folder (a folder under src/).
# A library exposes only its own folder: its include root holds a single link, named like the
# folder, so `#include "shell/UComon.h"` resolves only in targets that link the shell library and
# an include that points up the layering fails to compile.
function(conf_expose_folder name)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  target_include_directories(${name} PUBLIC ${root})
endfunction()

function(conf_folder_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  conf_expose_folder(${name})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()
