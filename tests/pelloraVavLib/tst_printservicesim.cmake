add_dependencies(${TEST_TARGET} printservicesim)
target_compile_definitions(${TEST_TARGET} PRIVATE
    PRINT_SERVICE_SIMULATOR="$<TARGET_FILE:printservicesim>")
