# The dialogs and the release handler, above the message library.
target_link_libraries(${target} PRIVATE pelloraVavWorkflow)
