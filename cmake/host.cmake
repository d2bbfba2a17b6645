# Host tree: the logic against the in-memory Windows, unit tests, benchmarks.
option(SCOURLY_SANITIZE "Build host tests with address and undefined-behaviour sanitizers" ON)
if(SCOURLY_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
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
include(GoogleTest)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
if(BENCH_SOURCES)
  add_executable(scourly_bench ${BENCH_SOURCES})
  target_link_libraries(scourly_bench PRIVATE scourly_fake)
endif()
