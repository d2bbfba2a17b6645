# Purgix.dll and the Windows test program of the Win32 services.

# Purgix.dll: one undecorated export, doDELETE, named by the .def file.
# Its version resource is the product's (res/version.h).
add_library(Purgix SHARED purgix/purgix.cpp platform/win32/win32_paths.cpp purgix/purgix.def
  res/purgix.rc)
set_source_files_properties(res/purgix.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/version_info.rc;${CMAKE_SOURCE_DIR}/res/version.h")
set_target_properties(Purgix PROPERTIES PREFIX "" OUTPUT_NAME Purgix)
target_compile_options(Purgix PRIVATE -Wall -Wextra)
target_include_directories(Purgix PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(Purgix PRIVATE shell32)

# The version-information functions behind platform/version.h.
target_link_libraries(scourly_win32 PUBLIC version)

# The test program runs in a folder of its own: it writes settings.ini and
# FList.txt beside itself, and Purgix.dll reads FList.txt from there.

file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/wine/*.cpp tests/support/*.cpp)
if(WINE_TEST_SOURCES)
  set(WINE_TEST_DIR ${CMAKE_BINARY_DIR}/wine_tests)
  # With the product's version resource, which the version service reads.
  add_executable(wine_tests ${WINE_TEST_SOURCES} tests/wine/wine_tests.rc)
  set_source_files_properties(tests/wine/wine_tests.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/res/version_info.rc;${CMAKE_SOURCE_DIR}/res/version.h")
  target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(wine_tests PRIVATE scourly_win32 gtest)
  # The test sources without optimisation (half their compile time), but for
  # the speed test, whose bounds judge code it compiles from bench/.
  target_precompile_headers(wine_tests PRIVATE <windows.h> <gtest/gtest.h>)
  target_compile_options(wine_tests PRIVATE -O0)
  set_source_files_properties(tests/wine/sort_speed_test.cpp PROPERTIES COMPILE_OPTIONS -O3
    SKIP_PRECOMPILE_HEADERS ON)
  set_target_properties(wine_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WINE_TEST_DIR})
  add_custom_command(OUTPUT ${WINE_TEST_DIR}/Purgix.dll
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Purgix> ${WINE_TEST_DIR}/Purgix.dll
    DEPENDS Purgix)
  add_custom_target(wine_tests_purgix ALL DEPENDS ${WINE_TEST_DIR}/Purgix.dll)
  add_dependencies(wine_tests wine_tests_purgix)
  # The helper that holds a lock file open as a running browser does.
  add_executable(lock_holder tests/wine/helpers/lock_holder.cpp)
  target_link_options(lock_holder PRIVATE -municode)
  set_target_properties(lock_holder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WINE_TEST_DIR})
  add_dependencies(wine_tests lock_holder)
  add_test(NAME wine_backend COMMAND ${SCOURLY_WINE_RUN} $<TARGET_FILE:wine_tests>)
  # One prefix for every Windows test of this build tree.
  set_tests_properties(wine_backend PROPERTIES
    ENVIRONMENT "WINE_ROOT=${CMAKE_BINARY_DIR}/wine;SCOURLY_FRESH_TEST_DRIVE=1"
    TIMEOUT 300 COST 60)
endif()

# The file-open dialog of the options dialog's "Keep" page.
target_link_libraries(scourly_win32 PUBLIC comdlg32)
