# The manager plays through the sound subsystem on the software mixer;
# fixtures are encoded by the tests.
list(APPEND QEL_TEST_DEPS game_shell platform qel::vorbisenc qel::vorbisfile)
