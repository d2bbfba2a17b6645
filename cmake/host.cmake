# Host tree: the logic against the in-memory Windows, unit tests, benchmarks.
option(SCOURLY_SANITIZE "Build host tests with address and undefined-behaviour sanitizers" ON)
if(SCOURLY_SANITIZE)
  # -O1 and line tables only: all a sanitizer's report needs, and the tree
  # builds in three quarters of the time -O2 with full debug information takes.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -O1 -g1)
  add_link_options(-fsanitize=address,undefined)
endif()

file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS platform/fake/*.cpp)
add_library(scourly_fake STATIC ${FAKE_SOURCES})
target_link_libraries(scourly_fake PUBLIC scourly_logic)

find_package(GTest REQUIRED)
file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE scourly_fake GTest::gtest_main)
# The tests and the in-memory Windows are compiled without optimisation: with
# the sanitizers, -O2 made them most of the build's time, and they run in
# seconds either way. The logic under test keeps the build type's -O2.
target_compile_options(scourly_fake PRIVATE -O0)
target_compile_options(host_tests PRIVATE -O0)
target_precompile_headers(host_tests PRIVATE <gtest/gtest.h> platform/fake/fake_windows.h)
# Four runs of the program, each taking every fourth test (GoogleTest's
# sharding): a run per test would start 211 processes under the sanitizers,
# four times the tests' own time.
set(HOST_TEST_SHARDS 4)
math(EXPR last_shard "${HOST_TEST_SHARDS} - 1")
foreach(shard RANGE ${last_shard})
  add_test(NAME host_tests_${shard} COMMAND host_tests)
  set_tests_properties(host_tests_${shard} PROPERTIES TIMEOUT 300
    ENVIRONMENT "GTEST_TOTAL_SHARDS=${HOST_TEST_SHARDS};GTEST_SHARD_INDEX=${shard}")
endforeach()

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(BENCH_SOURCES)
  # Built by scripts/bench.sh, in a tree of its own without the sanitizers.
  add_executable(scourly_bench EXCLUDE_FROM_ALL ${BENCH_SOURCES})
  target_link_libraries(scourly_bench PRIVATE scourly_fake)
endif()
