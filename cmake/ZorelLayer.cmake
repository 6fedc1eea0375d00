# Each layer sees its own headers and those of the layers it links, and no
# others: there is no include path to the source root. A layer's folder is
# made includable under its own name ("protocol/codec/Frame.h") through a
# link in build/layers/<target>/, handed on with the target, so an upward
# include does not build.
function(zorel_layer_includes name dir)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${dir})
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  get_filename_component(parent ${root}/${rel} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${rel})
    file(CREATE_LINK ${dir} ${root}/${rel} SYMBOLIC)
  endif()
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${name} INTERFACE ${root})
  else()
    target_include_directories(${name} PUBLIC ${root})
  endif()
endfunction()

# zorel_layer(NAME DIR [DEPS ...]): a static library of every .cpp in DIR
# (not recursive), linked only to the layers it may use.
function(zorel_layer name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    add_library(${name} STATIC ${srcs})
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
  zorel_layer_includes(${name} ${dir})
endfunction()

# Tests, benchmarks and tools sit above every layer and name their own
# helpers from the source root.
function(zorel_top_level name)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# zorel_test(NAME DIR DEPS...): one GoogleTest executable of every .cpp in DIR.
function(zorel_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main Threads::Threads)
  zorel_top_level(${name})
  set(labels unit)
  if(name MATCHES "^threading")
    set(labels tsan)
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${labels})
endfunction()
