add_dependencies(${TEST_TARGET} pelloraVav)
target_compile_definitions(${TEST_TARGET} PRIVATE LUPDATE="$<TARGET_FILE:Qt6::lupdate>")
