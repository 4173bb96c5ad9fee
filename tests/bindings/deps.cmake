# The test program binds a probe package through the same generator and
# rewrite as the game's bindings.
qel_tolua_package(${exe} probe ${CMAKE_CURRENT_LIST_DIR}/probe.pkg)
# The content lint boots the sample content's data files.
add_dependencies(${exe} content)
target_compile_definitions(${exe} PRIVATE QEL_GAME_DATA="${CMAKE_BINARY_DIR}/run/data")
# The status panel's golden picture (tests/game/shell/ui/golden.h).
target_link_libraries(${exe} PRIVATE qel::freetype)
target_compile_definitions(${exe} PRIVATE QEL_FONT_FILE="${QEL_FONT_FILE}")
