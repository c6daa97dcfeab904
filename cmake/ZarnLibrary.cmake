# zarn_library(<target> <folder> SOURCES ... [PUBLIC_LINKS ...] [PRIVATE_LINKS ...])
#
# Every library gets an include root of its own that holds exactly one entry,
# a link named after its folder. A file includes "foundation/Buffer.h" and that
# only resolves in targets that link the library: a wrong include is a compile
# error, not a silent dependency.
function(zarn_library target folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LINKS;PRIVATE_LINKS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
endfunction()

# zarn_test(<target> LABEL <label> SOURCES ... LINKS ...)
# One test executable per call; every test in it carries the label (the top
# folder it tests), so `ctest -L world` runs the world's tests.
function(zarn_test target)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LINKS} zarn_test_support GTest::gtest GTest::gmock)
  gtest_discover_tests(${target}
    PROPERTIES LABELS ${ARG_LABEL}
    DISCOVERY_TIMEOUT 60)
endfunction()

# zarn_benchmark(<target> SOURCES ... LINKS ...)
function(zarn_benchmark target)
  if(NOT ZARN_BUILD_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LINKS} benchmark::benchmark)
endfunction()
