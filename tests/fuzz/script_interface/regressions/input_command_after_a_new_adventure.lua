-- A program over the script interface; replay it with tests/fuzz/script_interface/run.sh.
-- The command InputPlayer is handed, kept and used in the next adventure.
T{seed = 1, ticks = 40}
S("InputPlayer", 1, "R.opening()")
D("InputOpening", 1, "adventure", 0, 0, 0)
S("InputPlayer", 2, "v[1] = a[1]")
S("InputPlayer", 3, "R.opening()")
D("InputOpening", 2, "adventure", 0, 0, 1)
S("InputPlayer", 4, "R.m(2, \"Command\", \"getType\", v[1])")
S("InputPlayer", 4, "R.m(3, \"Command\", \"setActPoint\", v[1], 5)")
