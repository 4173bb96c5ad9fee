# What the tests and the benchmarks share without the test framework: the
# scratch folder, and the sample content booted as the program boots it
# (the content is packed first; the fixture copies the run folder's data/).
add_library(qel_scratch_folder STATIC ${CMAKE_CURRENT_LIST_DIR}/scratch_folder.cpp)
target_link_libraries(qel_scratch_folder PUBLIC qel_options)

add_library(qel_sample_content STATIC ${CMAKE_CURRENT_LIST_DIR}/sample_content.cpp)
target_link_libraries(qel_sample_content PUBLIC qel_options qel_scratch_folder bindings)
target_compile_definitions(qel_sample_content PRIVATE QEL_GAME_DATA="${CMAKE_BINARY_DIR}/run/data")
add_dependencies(qel_sample_content content)
