# The check's ports are the client's, fixed: run inside `unshare -n`.
target_link_libraries(${TEST_TARGET} PRIVATE tsUtilities)
set_tests_properties(${TEST_TARGET} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600)
set_property(TEST ${TEST_TARGET} APPEND PROPERTY ENVIRONMENT "QTEST_FUNCTION_TIMEOUT=500000")
