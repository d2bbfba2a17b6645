# Windows tree: cross-built with MinGW-w64, run under Wine.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_compile_options(-Wall -Wextra)
# No MinGW runtime DLLs to ship or to find under Wine.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--nxcompat -Wl,--dynamicbase)

# The real Windows services behind the platform interfaces.
file(GLOB WIN32_SERVICE_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_library(scourly_win32 STATIC ${WIN32_SERVICE_SOURCES})
target_link_libraries(scourly_win32 PUBLIC scourly_logic shell32 ole32 advapi32 user32 comctl32)
# <windows.h> alone is about 2 s of every source's 2.5 s; parsed once.
target_precompile_headers(scourly_win32 PRIVATE <windows.h> ${SCOURLY_STD_HEADERS})

# GoogleTest from Debian's sources, for the Windows test programs.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Runs a Windows program under the test Wine prefix.
set(SCOURLY_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)

include(${CMAKE_SOURCE_DIR}/cmake/win_backend.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/cmake/win_gui.cmake OPTIONAL)
include(${CMAKE_SOURCE_DIR}/cmake/win_package.cmake OPTIONAL)

# The benchmarks: scripts/bench.sh builds those it runs.
# The scan benchmark on real files.
add_executable(scourly_win_bench EXCLUDE_FROM_ALL bench/win/scan_bench_win.cpp)
target_link_libraries(scourly_win_bench PRIVATE scourly_win32)
# The "Web Browsers" listing against a bare listing of the same folders.
add_executable(scourly_browser_bench EXCLUDE_FROM_ALL bench/win/browser_bench_win.cpp)
target_link_libraries(scourly_browser_bench PRIVATE scourly_win32)
# The real Scourly.exe timed from another process (scourly_window_bench.cpp).
add_executable(scourly_window_bench EXCLUDE_FROM_ALL bench/win/window_bench.cpp tests/e2e/scourly_process.cpp)
target_link_libraries(scourly_window_bench PRIVATE scourly_win32 shell32 user32 comctl32)
target_link_options(scourly_window_bench PRIVATE -municode)
