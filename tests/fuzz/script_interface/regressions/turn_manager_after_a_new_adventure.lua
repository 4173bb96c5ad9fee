-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- The turn manager kept from one adventure, used in the next.
T{seed = 1, ticks = 40}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.g(1, \"C_GetTurnManager\")")
S("InputPlayer", 3, "R.opening()")
D("InputOpening", 2, "adventure", 1, 2, 0)
S("InputPlayer", 4, "R.m(2, \"TurnManager\", \"getWaitNpc\", v[1])")
S("InputPlayer", 4, "R.m(3, \"TurnManager\", \"incWaitNpc\", v[1])")
