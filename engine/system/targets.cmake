# The application drives input, the task tree and the platform layer; the
# window cuts its title with the file layer's Shift-JIS helpers.
qel_link(engine_system engine_input engine_task engine_file engine_render platform)
# The SDL window and message boxes of platform/sdl.
qel_link(platform qel::sdl2)
