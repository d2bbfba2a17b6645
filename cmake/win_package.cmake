# The release: the binaries' import tables, and the portable zip made by
# scripts/package.sh, unpacked and started in a Wine prefix of its own.
add_test(NAME binary_imports
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/check_imports.sh
    $<TARGET_FILE:Scourly> $<TARGET_FILE:Purgix>)
add_test(NAME package
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/package_test.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/package-test)
set_tests_properties(package PROPERTIES TIMEOUT 600 COST 30)
