# The client's ports are fixed: no other test that starts it may run meanwhile.
add_dependencies(${TEST_TARGET} printservicesim)
set_tests_properties(${TEST_TARGET} PROPERTIES RUN_SERIAL TRUE TIMEOUT 900)
# Override translations are compiled as the test serves them.
target_compile_definitions(${TEST_TARGET} PRIVATE LRELEASE="$<TARGET_FILE:Qt6::lrelease>")
