-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- The cursor's position, read after the game scene (and its cursor) ended.
T{seed = 1, ticks = 40}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.g(1, \"C_GetCursor\")")
S("InputPlayer", 2, "R.m(2, \"TaskCursor\", \"getPos\", v[1])")
S("InputPlayer", 3, "R.opening()")
S("InputOpening", 2, "R.get(3, v[2], \"_x\")")
D("InputOpening", 2, "adventure", 1, 0, 0)
S("InputPlayer", 4, "R.get(4, v[2], \"_x\")")
