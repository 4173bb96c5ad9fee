# The language tests make their scrambled fixtures with the data packer.
list(APPEND QEL_TEST_DEPS tools_lib)
