# The tests run the client over the real POSIX sockets.
list(APPEND QEL_TEST_DEPS platform)
