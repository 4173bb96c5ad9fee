# The shell calls scripts through the Lua host.
qel_link(game_shell engine_script)
