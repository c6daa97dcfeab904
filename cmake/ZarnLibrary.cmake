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
  if(NOT ARG_SOURCES)
    set(ARG_SOURCES ${CMAKE_BINARY_DIR}/zarn_empty.cpp)
    if(NOT EXISTS ${ARG_SOURCES})
      file(WRITE ${ARG_SOURCES} "// A library that has no sources yet.\n")
    endif()
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

# zarn_layer_tests(<layer-label> <folder> LINKS ...)
# Every *Test.cpp under tests/<folder> goes into one executable <label>_tests;
# every *Benchmark.cpp becomes a benchmark executable of its own (not run by
# ctest).
function(zarn_layer_tests label)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB_RECURSE tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  file(GLOB_RECURSE support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  file(GLOB_RECURSE benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Benchmark.cpp)
  # A subfolder with a CMakeLists.txt of its own builds its own executables.
  file(GLOB_RECURSE own_lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file ${own_lists})
    get_filename_component(own_dir ${list_file} DIRECTORY)
    list(FILTER tests EXCLUDE REGEX "^${own_dir}/")
    list(FILTER support EXCLUDE REGEX "^${own_dir}/")
    list(FILTER benches EXCLUDE REGEX "^${own_dir}/")
  endforeach()
  string(REPLACE "/" "_" name ${label})
  if(tests)
    zarn_test(${name}_tests LABEL ${label} SOURCES ${tests} ${support} LINKS ${ARG_LINKS})
  endif()
  foreach(bench ${benches})
    get_filename_component(bname ${bench} NAME_WE)
    zarn_benchmark(${bname} SOURCES ${bench} ${support} LINKS ${ARG_LINKS} zarn_test_support_nomain)
  endforeach()
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
