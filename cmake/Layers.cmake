# Helpers that turn a folder of sources into a target, so that adding a file needs no CMake edit.
# INCLUDE and EXCLUDE are regular expressions matched against the file name.

function(gw_collect out dir include exclude)
  file(GLOB candidates CONFIGURE_DEPENDS ${dir}/*.cpp)
  set(result)
  foreach(f ${candidates})
    get_filename_component(name ${f} NAME)
    if(name MATCHES "${include}" AND (exclude STREQUAL "" OR NOT name MATCHES "${exclude}"))
      list(APPEND result ${f})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# gw_library(NAME DIR INCLUDE EXCLUDE DEPS...): a static library, or an interface one while the
# folder holds no matching source yet, so that dependents can link it either way.
function(gw_library name dir include exclude)
  gw_collect(sources ${dir} "${include}" "${exclude}")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# gw_gtest(NAME DIR INCLUDE EXCLUDE DEPS...): one GoogleTest program from the matching files.
function(gw_gtest name dir include exclude)
  gw_collect(sources ${dir} "${include}" "${exclude}")
  if(sources)
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# gw_install_component(LAYER): install() calls of the layer without a COMPONENT go into the package
# of the program the layer belongs to: gridwise-cli, datumer-cli, gridwise, datumer, or "dev" for
# the shared and helper layers, which install nothing a package needs.
macro(gw_install_component layer)
  if("${layer}" MATCHES "^src/(gridwise|datumer)/cli$")
    set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME ${CMAKE_MATCH_1}-cli)
  elseif("${layer}" MATCHES "^src/(gridwise|datumer)/ui$")
    set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME ${CMAKE_MATCH_1})
  else()
    set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME dev)
  endif()
endmacro()
