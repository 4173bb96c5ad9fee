list(APPEND QEL_TEST_DEPS game_shell)
# The kill test starts this program, stops it inside a save and kills it.
add_executable(save_kill_child ${CMAKE_CURRENT_LIST_DIR}/child/save_kill_child.cpp)
target_link_libraries(save_kill_child PRIVATE qel_options game_shell platform)
add_dependencies(${exe} save_kill_child)
target_compile_definitions(${exe} PRIVATE QEL_SAVE_KILL_CHILD="$<TARGET_FILE:save_kill_child>")
