# The players run on the software mixer, stepped by hand; fixtures are
# encoded by the tests.
list(APPEND QEL_TEST_DEPS platform qel::vorbisenc qel::vorbisfile)
