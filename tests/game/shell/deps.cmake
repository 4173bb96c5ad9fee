# The boot tests read the sample content's data files.
add_dependencies(${exe} content)
target_compile_definitions(${exe} PRIVATE QEL_GAME_DATA="${CMAKE_BINARY_DIR}/run/data")
