-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- nil passed for a text parameter (required, and optional with a default).
T{seed = 1, ticks = 20}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.g(1, \"C_GetItemFactory\")")
S("InputPlayer", 2, "R.m(2, \"ItemFactory\", \"createId\", v[1], 50, nil)")
S("InputPlayer", 2, "R.m(3, \"ItemFactory\", \"createName\", v[1], nil)")
