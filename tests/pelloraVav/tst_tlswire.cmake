# The client's ports are fixed: no other test that starts it may run meanwhile.
add_dependencies(${TEST_TARGET} printservicesim)
set_tests_properties(${TEST_TARGET} PROPERTIES RUN_SERIAL TRUE TIMEOUT 900)
# Every row of the one table runs in one test function.
set_property(TEST ${TEST_TARGET} APPEND PROPERTY ENVIRONMENT "QTEST_FUNCTION_TIMEOUT=800000")
