# The application drives input, the task tree and the platform layer.
qel_link(engine_system engine_input engine_task platform)
# The SDL window and message boxes of platform/sdl.
qel_link(platform qel::sdl2)
