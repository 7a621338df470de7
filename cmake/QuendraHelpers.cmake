# Shared build helpers: one line registers a layer, a test, a fuzzer or a benchmark.

set(QUENDRA_WARNINGS -Wall -Wextra -Wpedantic -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 reports overlaps that cannot happen inside libstdc++'s string concatenation at -O2/-O3
  # (GCC bug 105651), in code that is correct; later compilers do not.
  list(APPEND QUENDRA_WARNINGS -Wno-restrict)
endif()
if(MINGW)
  # mingw's own headers use a few non-pedantic constructs (e.g. anonymous structs in VARIANT).
  list(APPEND QUENDRA_WARNINGS -Wno-pedantic)
endif()

# quendra_layer(NAME SOURCES... [DEPS libs...]) -> static library quendra_NAME
function(quendra_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(quendra_${name} STATIC ${ARG_SOURCES})
  # A layer that has no sources yet has no target: leave it out rather than link a missing library.
  set(deps)
  foreach(dep ${ARG_DEPS})
    if(TARGET ${dep} OR NOT dep MATCHES "^quendra_")
      list(APPEND deps ${dep})
    endif()
  endforeach()
  target_link_libraries(quendra_${name} PUBLIC quendra_headers ${deps})
  target_compile_options(quendra_${name} PRIVATE ${QUENDRA_WARNINGS})
endfunction()

# quendra_test(NAME SOURCES... [DEPS libs...] [LABELS labels...] [LOCK name]) -> GoogleTest binary registered
# with CTest. The label "concurrency" marks the tests that the TSan build runs; tests sharing a LOCK name never
# run at the same time (for tests that use one fixed file).
function(quendra_test name)
  cmake_parse_arguments(ARG "" "LOCK" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT QUENDRA_TESTS OR NOT GTest_FOUND)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_options(${name} PRIVATE ${QUENDRA_WARNINGS})
  target_compile_definitions(${name} PRIVATE QUENDRA_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
  if(CMAKE_CROSSCOMPILING)
    # Under wine each process start costs, so a Windows test binary is one CTest test.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${ARG_LABELS}")
  else()
    include(GoogleTest)
    # Properties go as key/value pairs: an empty value would shift the pairs, so leave out unused keys.
    set(properties TIMEOUT 300)
    if(ARG_LABELS)
      list(APPEND properties LABELS "${ARG_LABELS}")
    endif()
    if(ARG_LOCK)
      list(APPEND properties RESOURCE_LOCK ${ARG_LOCK})
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  endif()
endfunction()

# quendra_fuzzer(NAME SOURCES... [DEPS libs...]) -> libFuzzer target (fuzz preset) or a replay main
function(quendra_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_compile_options(${name} PRIVATE ${QUENDRA_WARNINGS})
  if(QUENDRA_FUZZ)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
  endif()
endfunction()

# quendra_benchmark(NAME SOURCES... [DEPS libs...]) -> Google Benchmark binary
function(quendra_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
  target_compile_options(${name} PRIVATE ${QUENDRA_WARNINGS})
endfunction()
