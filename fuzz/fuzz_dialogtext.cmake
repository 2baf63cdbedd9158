# The dialogs and the release handler, above the message library.
target_link_libraries(${target} PRIVATE pelloraVavWorkflow)
# The dialogs of a job as the tests build them.
target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
