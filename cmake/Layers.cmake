# Helpers that make the project's targets from the sources each CMakeLists.txt lists by name, so
# that a renamed or moved file fails the configure step instead of silently changing its layer.

# gw_library(NAME SOURCES file... DEPS target...): a static library that dependents include as
# "layer/file.hpp" from src/.
function(gw_library name)
  cmake_parse_arguments(arg "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${arg_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${arg_DEPS})
endfunction()

# gw_gtest(NAME SOURCES file... DEPS target...): one GoogleTest program.
function(gw_gtest name)
  cmake_parse_arguments(arg "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_DEPS} GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
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
