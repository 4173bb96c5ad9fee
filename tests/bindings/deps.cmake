# The test program binds a probe package through the same generator and
# rewrite as the game's bindings.
qel_tolua_package(${exe} probe ${CMAKE_CURRENT_LIST_DIR}/probe.pkg)
# The content lint and the turns boot the sample content.
list(APPEND QEL_TEST_DEPS qel_sample_content)
# The status panel's golden picture (tests/game/shell/ui/golden.h).
target_link_libraries(${exe} PRIVATE qel::freetype)
target_compile_definitions(${exe} PRIVATE QEL_FONT_FILE="${QEL_FONT_FILE}")
# The census of the script interface reads the generated registration code.
target_compile_definitions(${exe} PRIVATE QEL_GENERATED_BINDINGS="${CMAKE_BINARY_DIR}/generated/tolua_script.cpp")
