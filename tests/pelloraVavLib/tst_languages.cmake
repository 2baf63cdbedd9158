target_compile_definitions(${TEST_TARGET} PRIVATE LRELEASE="$<TARGET_FILE:Qt6::lrelease>")
