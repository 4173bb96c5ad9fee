# The requests run over the real POSIX sockets against a server played by
# the test.
list(APPEND QEL_TEST_DEPS game_shell platform)
