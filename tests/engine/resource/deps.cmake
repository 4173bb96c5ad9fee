# Pictures are decoded by the platform's decoder and render targets made on
# the recording device, as the program does.
list(APPEND QEL_TEST_DEPS platform)
