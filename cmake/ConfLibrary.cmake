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

# Precompiled headers: the heavy Qt (and, for tests, GoogleTest) headers are compiled once, by a
# target of their own, and every library and test program reuses that result. The compile options
# are the same everywhere (they are set for the whole build), which reuse requires.
# Off by default: with g++ 12, debug information and the sanitizers the precompiled header is about
# 200 MB, and loading it in every source costs more processor time than the parsing it saves.
option(CONF_PCH "Precompile the heavy Qt and GoogleTest headers" OFF)
set(CONF_PCH_DIR ${CMAKE_CURRENT_LIST_DIR})
if(CONF_PCH AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
  # ccache caches compilations that use a precompiled header only when told to accept it.
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env
      CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

# conf_reuse_pch(<target> QT|TEST): <target> compiles with the shared precompiled header of its kind.
function(conf_reuse_pch target kind)
  if(NOT CONF_PCH)
    return()
  endif()
  string(TOLOWER conf_pch_${kind} pch)
  if(NOT TARGET ${pch})
    file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/${pch}.cpp CONTENT "// The precompiled header's own target.\n")
    add_library(${pch} OBJECT ${PROJECT_BINARY_DIR}/${pch}.cpp)
    set_target_properties(${pch} PROPERTIES AUTOMOC OFF)
    if(kind STREQUAL "TEST")
      target_link_libraries(${pch} PRIVATE Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
      target_precompile_headers(${pch} PRIVATE ${CONF_PCH_DIR}/TestPrecompiled.h)
    else()
      target_link_libraries(${pch} PRIVATE Qt6::Widgets)
      target_precompile_headers(${pch} PRIVATE ${CONF_PCH_DIR}/QtPrecompiled.h)
    endif()
  endif()
  target_precompile_headers(${target} REUSE_FROM ${pch})
endfunction()

# conf_compile_alone(<source>...): sources of the calling folder that keep file-scope names another
# source of their folder also uses (a window's own sizes, a test's own column list) and are
# therefore compiled on their own, outside the batches.
function(conf_compile_alone)
  list(TRANSFORM ARGN PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  set_source_files_properties(${ARGN} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
endfunction()

function(conf_folder_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  conf_expose_folder(${name})
  target_link_libraries(${name} PUBLIC ${ARGN})
  conf_reuse_pch(${name} QT)
endfunction()
