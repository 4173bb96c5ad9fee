# The boot tests read the sample content's data files.
list(APPEND QEL_TEST_DEPS qel_sample_content)
