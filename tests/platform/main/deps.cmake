# The tests here run the game program itself.
add_dependencies(${exe} vornhaldeen)
target_compile_definitions(${exe} PRIVATE QEL_GAME_PROGRAM="$<TARGET_FILE:vornhaldeen>"
                                          QEL_GAME_DATA="$<TARGET_FILE_DIR:vornhaldeen>/data")
list(APPEND QEL_TEST_DEPS platform)
