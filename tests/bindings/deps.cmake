# The test program binds a probe package through the same generator and
# rewrite as the game's bindings.
qel_tolua_package(${exe} probe ${CMAKE_CURRENT_LIST_DIR}/probe.pkg)
# The content lint boots the sample content's data files.
add_dependencies(${exe} content)
target_compile_definitions(${exe} PRIVATE QEL_GAME_DATA="${CMAKE_BINARY_DIR}/run/data")
