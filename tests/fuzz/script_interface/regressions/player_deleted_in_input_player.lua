-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- Every object deleted inside InputPlayer, which answers a command.
T{seed = 1, ticks = 40}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "R.g(1, \"C_GetObjectManager\")")
S("InputPlayer", 2, "R.m(2, \"ObjectManager\", \"clearAll\", v[1])")
D("InputPlayer", 2, "wait")
