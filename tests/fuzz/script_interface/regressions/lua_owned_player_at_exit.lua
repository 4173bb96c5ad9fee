-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- A player the script owns, still alive when the game ends.
T{seed = 4, ticks = 20}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.new(1, \"ObjectPlayer\")")
