# Every dialog, in every shipped language, at the scales kiosk screens use:
# no text cut off, no dialog past its screen.
foreach(scale 1 1.25 1.5 2)
    add_test(NAME dialogshots_check_${scale}x
        COMMAND dialogshots --check ${CMAKE_BINARY_DIR}/tests/dialogshots/${scale}x)
    set_tests_properties(dialogshots_check_${scale}x PROPERTIES
        ENVIRONMENT "QT_SCALE_FACTOR=${scale};QT_LOGGING_RULES=qt.qpa.*=false"
        TIMEOUT 300)
endforeach()
add_dependencies(${TEST_TARGET} dialogshots)
