list(APPEND QEL_TEST_DEPS game_shell)
