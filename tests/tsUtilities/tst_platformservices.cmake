if(NOT TARGET pellora_platform_helper)
    add_executable(pellora_platform_helper ${CMAKE_CURRENT_LIST_DIR}/platformhelper.cpp)
    target_link_libraries(pellora_platform_helper PRIVATE tsUtilities)
    set_target_properties(pellora_platform_helper PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endif()
add_dependencies(${TEST_TARGET} pellora_platform_helper)
target_compile_definitions(${TEST_TARGET} PRIVATE
    PLATFORM_HELPER="$<TARGET_FILE:pellora_platform_helper>")
