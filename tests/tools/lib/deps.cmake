# The sound synthesiser's test decodes what it encoded.
list(APPEND QEL_TEST_DEPS qel::vorbisfile)
