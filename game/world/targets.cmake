# The world reads and writes its files through the engine file and calls a
# floor's script function through the Lua host.
qel_link(game_world engine_file engine_script)
