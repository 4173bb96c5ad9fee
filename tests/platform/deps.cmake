# The audio tests encode their sound fixtures themselves.
list(APPEND QEL_TEST_DEPS qel::vorbisenc qel::vorbisfile)
