add_dependencies(${TEST_TARGET} pelloraVav_lrelease)
