# The game data loaders read their tables through the engine file.
qel_link(game_data engine_file)
