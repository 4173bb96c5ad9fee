# The manager plays through the sound subsystem on the software mixer;
# fixtures are encoded by the tests.
list(APPEND QEL_TEST_DEPS game_shell platform qel::vorbisenc qel::vorbisfile)
# The golden pictures record the font file and FreeType they were drawn with.
list(APPEND QEL_TEST_DEPS qel::freetype)
target_compile_definitions(${exe} PRIVATE QEL_FONT_FILE="${QEL_FONT_FILE}")
