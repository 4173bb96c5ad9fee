# Resources stand on the graphics device interface and read files through
# the file layer.
qel_link(engine_resource engine_render engine_file)
