# Plays the Print Service itself: the printer scripts are encoded as the real one encodes them.
target_link_libraries(${TEST_TARGET} PRIVATE utils Qt6::Network)
