# The application drives input, the task tree, resources and the graphics
# device; the window cuts its title with the file layer's Shift-JIS helpers.
qel_link(engine_system engine_input engine_task engine_file engine_render
         engine_resource)
