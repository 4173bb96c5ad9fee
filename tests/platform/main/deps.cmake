# The tests here run the game program itself.
add_dependencies(${exe} vornhaldeen)
target_compile_definitions(${exe} PRIVATE QEL_GAME_PROGRAM="$<TARGET_FILE:vornhaldeen>"
                                          QEL_GAME_DATA="$<TARGET_FILE_DIR:vornhaldeen>/data")
list(APPEND QEL_TEST_DEPS platform)
# The screens' golden pictures (tests/game/shell/ui/golden.h) name the font
# and FreeType their text was drawn with.
target_link_libraries(${exe} PRIVATE qel::freetype)
target_compile_definitions(${exe} PRIVATE QEL_FONT_FILE="${QEL_FONT_FILE}")
