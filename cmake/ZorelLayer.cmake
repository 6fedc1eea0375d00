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
endfunction()

# zorel_test(NAME DIR DEPS...): one GoogleTest executable of every .cpp in DIR.
function(zorel_test name dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
endfunction()
