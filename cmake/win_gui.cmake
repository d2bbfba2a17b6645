# The Win32 windows, Scourly.exe, and the end-to-end tests that drive it.

file(GLOB WIN_GUI_SOURCES CONFIGURE_DEPENDS ui/controls/*.cpp ui/main/*.cpp ui/dialogs/*.cpp)
add_library(scourly_gui STATIC ${WIN_GUI_SOURCES})
target_link_libraries(scourly_gui PUBLIC scourly_win32 scourly_logic comctl32 gdi32 user32 shell32
  ole32 oleaut32 uuid oleacc)
target_precompile_headers(scourly_gui PRIVATE <windows.h> <commctrl.h> ${SCOURLY_STD_HEADERS})

# Scourly.exe and Purgix.dll side by side in bin/.
set(SCOURLY_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
add_executable(Scourly WIN32 ui/win_main.cpp res/scourly.rc)
target_link_libraries(Scourly PRIVATE scourly_gui ole32)
target_link_options(Scourly PRIVATE -municode -mwindows)
set_target_properties(Scourly PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SCOURLY_BIN_DIR})
set(SCOURLY_RC_INPUTS scourly.manifest scourly.ico images16.bmp images24.bmp images32.bmp version.h
  version_info.rc resource_ids.h options_dialog.rc file_type_dialog.rc about_dialog.rc
  about100.gif about150.gif about200.gif)
list(TRANSFORM SCOURLY_RC_INPUTS PREPEND ${CMAKE_SOURCE_DIR}/res/)
set_source_files_properties(res/scourly.rc PROPERTIES OBJECT_DEPENDS "${SCOURLY_RC_INPUTS}")
if(TARGET Purgix)
  add_dependencies(Scourly Purgix)
  add_custom_command(TARGET Scourly POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Purgix> ${SCOURLY_BIN_DIR}/)
endif()

# End-to-end: the real Scourly.exe under Wine and Xvfb, driven from another
# process, at 96 and at 144 DPI. Each tests/e2e/e2e_PART_driver.cpp is one
# driver program and two tests, e2e_PART_96dpi and e2e_PART_144dpi; its
# screenshots go to e2e-DPI/screenshots/PART/. All share one Wine prefix per
# DPI (a fresh prefix takes 13 s and 700 MB), so the tests of one DPI take
# turns while the two DPIs, each on a display of its own, run side by side.
# The drivers share their support code, compiled once, and its precompiled
# Windows and GoogleTest headers. They only drive the program, so they are
# compiled without optimisation (half the compile time).
add_library(e2e_support STATIC tests/e2e/e2e_support.cpp tests/e2e/scourly_process.cpp)
target_include_directories(e2e_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(e2e_support PUBLIC gtest user32 gdi32 comctl32 ole32)
target_compile_options(e2e_support PUBLIC -O0)
target_precompile_headers(e2e_support PRIVATE tests/e2e/e2e_support.h)
file(GLOB E2E_DRIVERS CONFIGURE_DEPENDS tests/e2e/e2e_*_driver.cpp)
foreach(source ${E2E_DRIVERS})
  get_filename_component(driver ${source} NAME_WE)
  string(REGEX REPLACE "^e2e_(.*)_driver$" "\\1" part ${driver})
  add_executable(${driver} ${source})
  target_link_libraries(${driver} PRIVATE e2e_support)
  target_precompile_headers(${driver} REUSE_FROM e2e_support)
  target_link_options(${driver} PRIVATE -municode)
  add_dependencies(${driver} Scourly)
  foreach(dpi 96 144)
    add_test(NAME e2e_${part}_${dpi}dpi
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh
        $<TARGET_FILE:Scourly> $<TARGET_FILE:${driver}> ${CMAKE_BINARY_DIR}/e2e-${dpi} ${dpi}
        screenshots/${part})
    # The two DPIs' turns are the longest lanes of the run: they start first
    # (ctest starts the costliest first), the other tests beside them.
    set_tests_properties(e2e_${part}_${dpi}dpi PROPERTIES TIMEOUT 400
      RESOURCE_LOCK e2e-${dpi} COST 80)
  endforeach()
endforeach()
# The drivers that seed the shell's folders and links, and the URL cache and
# the registry, from outside the program.
if(TARGET e2e_tabs_driver)
  target_link_libraries(e2e_tabs_driver PRIVATE shell32)
endif()
if(TARGET e2e_browsers_driver)
  target_link_libraries(e2e_browsers_driver PRIVATE shell32)
endif()
if(TARGET e2e_cache_driver)
  target_link_libraries(e2e_cache_driver PRIVATE wininet advapi32)
endif()
# The driver that reads the window as a screen reader does.
if(TARGET e2e_a11y_driver)
  target_link_libraries(e2e_a11y_driver PRIVATE oleacc oleaut32)
endif()

# The windows' own parts inside one process (a virtual display, no driver).
file(GLOB GUI_TEST_SOURCES CONFIGURE_DEPENDS tests/e2e/gui_*_test.cpp)
add_executable(gui_tests ${GUI_TEST_SOURCES} tests/support/box_answerer.cpp)
target_include_directories(gui_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(gui_tests PRIVATE scourly_gui gtest)
target_precompile_headers(gui_tests PRIVATE <windows.h> <commctrl.h> <gtest/gtest.h>)
add_test(NAME gui_windows
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run_gui_tests.sh
    $<TARGET_FILE:gui_tests> ${CMAKE_BINARY_DIR}/gui-tests)
# Its own prefix and display: it runs beside other tests (its time bounds
# leave room for a busy machine).
set_tests_properties(gui_windows PROPERTIES TIMEOUT 300 COST 40)

# The Windows tests run the real program's command line beside them, with
# their settings.ini and Purgix.dll.
if(TARGET wine_tests)
  add_custom_command(TARGET Scourly POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Scourly> ${WINE_TEST_DIR}/)
  add_dependencies(wine_tests Scourly)
endif()
